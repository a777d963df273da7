#include "host/ModuleLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

constexpr const char* kModuleName = "libkestraui.so";

// <folder above bin/>/lib/libkestraui.so for the running program (links resolved, as
// $ORIGIN is); the plain name, found through the library path, when that cannot be read.
std::string ModulePath() {
  std::string exe(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", exe.data(), exe.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= exe.size()) return kModuleName;
  exe.resize(static_cast<std::size_t>(length));
  const std::size_t bin = exe.rfind('/');
  const std::size_t root = bin == std::string::npos ? bin : exe.rfind('/', bin - 1);
  if (root == std::string::npos) return kModuleName;
  return exe.substr(0, root) + "/lib/" + kModuleName;
}

[[noreturn]] void CannotLoad(const std::string& what) {
  std::cerr << "kestra: cannot load the module: " << what << "\n";
  std::exit(2);
}

void* Module() {
  static void* const handle = [] {
    const std::string path = ModulePath();
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module != nullptr) return module;
    const char* why = ::dlerror();
    const std::string reason = why != nullptr ? why : path;
    // A program copied away from its tree still finds a module on its library path.
    module = ::dlopen(kModuleName, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) CannotLoad(reason);
    return module;
  }();
  return handle;
}

}  // namespace

KestraAnyFunction ModuleEntry(const char* name) {
  void* lookup = ::dlsym(Module(), kKestraEntrySymbol);
  if (lookup == nullptr) CannotLoad(std::string(kKestraEntrySymbol) + " not found");
  const auto entry = reinterpret_cast<decltype(&KestraEntry)>(lookup);
  const KestraAnyFunction function = entry(name);
  if (function == nullptr) CannotLoad(std::string("no entry point ") + name);
  return function;
}

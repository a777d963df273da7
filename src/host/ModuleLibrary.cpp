#include "host/ModuleLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

constexpr const char* kModuleName = "libkestraui.so";
constexpr const char* kHeadlessName = "libkestraheadless.so";

// <folder above bin/>/lib/NAME for the running program (links resolved, as $ORIGIN is); the
// plain name, found through the library path, when that cannot be read.
std::string LibraryPath(const char* name) {
  std::string exe(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", exe.data(), exe.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= exe.size()) return name;
  exe.resize(static_cast<std::size_t>(length));
  const std::size_t bin = exe.rfind('/');
  const std::size_t root = bin == std::string::npos ? bin : exe.rfind('/', bin - 1);
  if (root == std::string::npos) return name;
  return exe.substr(0, root) + "/lib/" + name;
}

[[noreturn]] void CannotLoad(const std::string& what) {
  std::cerr << "kestra: cannot load the module: " << what << "\n";
  std::exit(2);
}

void* Load(const char* name) {
  const std::string path = LibraryPath(name);
  void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library != nullptr) return library;
  const char* why = ::dlerror();
  const std::string reason = why != nullptr ? why : path;
  // A program copied away from its tree still finds the library on its library path.
  library = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) CannotLoad(reason);
  return library;
}

// The symbol of the library loaded once with that name.
void* Symbol(void* library, const char* symbol) {
  void* found = ::dlsym(library, symbol);
  if (found == nullptr) CannotLoad(std::string(symbol) + " not found");
  return found;
}

}  // namespace

KestraAnyFunction ModuleEntry(const char* name) {
  static void* const module = Load(kModuleName);
  const auto entry = reinterpret_cast<decltype(&KestraEntry)>(Symbol(module, kKestraEntrySymbol));
  const KestraAnyFunction function = entry(name);
  if (function == nullptr) CannotLoad(std::string("no entry point ") + name);
  return function;
}

namespace {

void* HeadlessLibrary() {
  static void* const headless = Load(kHeadlessName);
  return headless;
}

}  // namespace

decltype(&KestraRunHeadlessVerb) HeadlessEntry() {
  return reinterpret_cast<decltype(&KestraRunHeadlessVerb)>(
      Symbol(HeadlessLibrary(), kKestraHeadlessSymbol));
}

decltype(&KestraRunToolCommand) HeadlessToolEntry() {
  return reinterpret_cast<decltype(&KestraRunToolCommand)>(
      Symbol(HeadlessLibrary(), kKestraToolCommandSymbol));
}

// libpvrlsetup: a stand-in for the layout editor's setup library. Its one entry point,
// PvrlSetup, answers the key "PSMPATH" with the install tree's footprint folders
// (<root>/share/pavrel/footprints, the root being the folder above this library's lib/) as a
// null-ended list, and any other key with null. The list is the library's own and lives until
// it is unloaded. Loaded at run time by the packaging flow.
#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string InstallRoot() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&InstallRoot), &info) == 0 || info.dli_fname == nullptr)
    return ".";
  std::error_code error;
  const auto library = std::filesystem::canonical(info.dli_fname, error);
  return error ? "." : library.parent_path().parent_path().string();
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const char* const* PvrlSetup(const char* key) {
  static const std::vector<std::string> folders = {InstallRoot() + "/share/pavrel/footprints"};
  static const std::vector<const char*> list = [] {
    std::vector<const char*> pointers;
    for (const std::string& folder : folders) pointers.push_back(folder.c_str());
    pointers.push_back(nullptr);
    return pointers;
  }();
  if (key == nullptr || std::strcmp(key, "PSMPATH") != 0) return nullptr;
  return list.data();
}

#include "FuzzScratch.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

struct Folder {
  std::string path;
  Folder() {
    char name[] = "/tmp/kestra-fuzz-XXXXXX";
    if (mkdtemp(name) == nullptr) std::abort();
    path = name;
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

const std::string& FuzzScratchFolder() {
  static const Folder folder;
  return folder.path;
}

std::string WriteFuzzScratch(const std::string& name, const std::string& data) {
  const std::string path = FuzzScratchFolder() + "/" + name;
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) std::abort();
  std::fwrite(data.data(), 1, data.size(), out);
  std::fclose(out);
  return path;
}

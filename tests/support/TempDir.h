// A temporary folder for one test, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <string>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  // Writes a file below the folder (creating parents) and returns its path.
  std::filesystem::path write(const std::string& relative, const std::string& content) const;

 private:
  std::filesystem::path path_;
};

// The whole content of a file ("" when it cannot be read).
std::string ReadFile(const std::filesystem::path& file);

// The process's current directory: entering a folder by text, and a guard that puts the
// directory back on every way out of a scope. Flows whose tools take the process's current
// directory as their working directory use it so that no run leaves the process elsewhere.
// Standard C++ only; the current directory is process-wide state (UI thread only).
#pragma once

#include <string>

// The current directory, "" when it cannot be read.
std::string CurrentDirectory();

// Makes path the current directory; false (and nothing changed) when it cannot be entered,
// with why, when given, saying so ("cannot enter P: reason").
bool EnterDirectory(const std::string& path, std::string* why = nullptr);

// Remembers the current directory at construction and returns to it at destruction.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : saved_(CurrentDirectory()) {}
  ~CurrentDirectoryGuard();
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

  const std::string& Saved() const { return saved_; }

 private:
  std::string saved_;
};

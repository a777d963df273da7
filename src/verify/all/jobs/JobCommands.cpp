#include "verify/all/jobs/JobCommands.h"

#include <filesystem>

std::string RunningProgram() {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? "kestra" : program.string();
}

std::vector<std::string> JobArguments(const std::string& program, const PartJob& job,
                                      const std::string& scratch) {
  std::vector<std::string> arguments = {program, "verify", job.flow};
  arguments.insert(arguments.end(), job.words.begin(), job.words.end());
  // The run applies the waivers itself, to every job's findings at once.
  arguments.insert(arguments.end(), {"-scratch", scratch, "-no-waivers", "-json"});
  return arguments;
}

std::string ShellWord(const std::string& word) {
  const bool safe = !word.empty() && word.find_first_not_of(
                                         "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                         "0123456789_@%+=:,./-") == std::string::npos;
  if (safe) return word;
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string JobShellLine(const std::vector<std::string>& arguments, const std::string& results,
                         const std::string& errors) {
  std::string line;
  for (const std::string& word : arguments) line += (line.empty() ? "" : " ") + ShellWord(word);
  return line + " >" + ShellWord(results) + " 2>" + ShellWord(errors);
}

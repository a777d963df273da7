// The handle to a project's layered settings: install, site, project and user files merged
// into one model, with a current program and directive. Results are ints (0 success, 1 not
// found, 2 no value, -1 failure or refusal); messages go to SpiLastMessage, refusals to
// "tak.log". Owns its model; create one per use on one thread; the library's process-wide
// state (last message, located files) is not thread safe.
#pragma once

#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "projectfile/CSpiProgramList.h"
#include "projectfile/SpiFileFingerprint.h"
#include "projectfile/SpiFileLock.h"

class CSpiDirective;
class CSpiFile;
class SpiWantedDirectives;

class CSpiProject {
 public:
  CSpiProject();
  ~CSpiProject();
  CSpiProject(const CSpiProject&) = delete;
  CSpiProject& operator=(const CSpiProject&) = delete;

  // Reads the four levels for projectFile. 0, or -1 on failure.
  int Open(const std::string& projectFile);
  // Open for one read, change and save: the project file (and the user file) are locked
  // exclusively before they are read and stay locked until Save has replaced them, so that no
  // other reader or writer comes in between. Waits up to patience for other tools to let go.
  int OpenForChange(const std::string& projectFile,
                    std::chrono::milliseconds patience = kChangePatience);
  static constexpr std::chrono::milliseconds kChangePatience{10000};
  // Open for looking up one directive of one program: the same results, messages and log
  // entries for it as Open, from a model that keeps of the project file only what the lookup
  // needs (that directive, GLOBAL's temp_dir, the directives the install, site and user files
  // name); the rest of the project file is checked for format errors as always and passed
  // over. For a tool that reads one setting of a large file. The model cannot be saved.
  int OpenForLookup(const std::string& projectFile, const std::string& program,
                    const std::string& directive);

  // 0 found (becomes current), 1 not found.
  int FindProgram(const std::string& name);
  // Appends a program at level 2 and makes it current. The project owns it. A name that a
  // project file cannot hold is refused: nullptr, no current program, the reason as the last
  // message.
  CSpiProgram* AddProgram(const std::string& name);
  // In the current program: 0 found (becomes current), 1 not found.
  int FindDirective(const std::string& name);
  // FindDirective, else appends a new directive to the current program; it becomes current.
  // 0, or -1 (no current directive, the reason as the last message) for a name that a project
  // file cannot hold.
  int AddDirective(const std::string& name);
  // Cursor of the current directive's winning values to the first value.
  void RewindValues();
  // 0 with the next winning value (expanded), 2 at the end (the cursor starts over).
  int GetNextValue(std::string& value);
  // First winning value of a directive of the current program: 0, 1 no such directive,
  // 2 no value; -1 only when the session name cannot be found.
  int GetValue(const std::string& name, std::string& value);

  // Appends a value to the current directive: 0, or -1 refused by control settings or because
  // a project file cannot hold it (a line break, both quote characters).
  int AddValue(const std::string& value);
  // Empties the current directive's winning values: 0, or -1 refused.
  int ClearValues();
  // Writes the project file (and the located user file) atomically: 0, or -1 on failure.
  // Refused, with nothing written, when a file changed since Open read it, or when the model
  // holds a name or value that would not read back the same.
  int Save();
  // The project file is a scratch copy that is written anew before each use (the temporary
  // project of a checker run): its Save replaces it as atomically, but does not wait for the
  // device. The user file is saved as always.
  void SetScratchProject(bool scratch) { scratchProject_ = scratch; }
  // Save into a copy instead of the project file, which stays as it is: write gets the text
  // Save would write to the project file (dated now) and puts it at path, the copy's name for
  // messages (a checker run's temporary project, made from the project in one Open). The user
  // file is saved as Save saves it. 0, or -1 when write fails or Save would refuse.
  int SaveCopy(const std::string& path, const std::function<bool(const std::string& text)>& write);

  // Read access for tools and tests.
  const CSpiProgramList& Programs() const { return programs_; }
  CSpiProgram* CurrentProgram() const { return currentProgram_; }
  CSpiDirective* CurrentDirective() const { return currentDirective_; }
  const std::string& ProjectFullPath() const { return projectFullPath_; }
  const std::string& LogPath() const { return logPath_; }
  // "qvd.tak", "site.tak", the project file (or "<project>.tak") and "user.tak".
  std::string LevelLabel(int level) const;

 private:
  bool NeedProgram(const char* operation);
  bool NeedDirective(const char* operation);
  int OpenInstallAndSite();
  int OpenLevels(const std::string& projectFile);
  int ReadLevel(int level, const std::string& path, const char* openMessage,
                SpiFileFingerprint* read = nullptr, SpiExclusiveHold* hold = nullptr);
  int ReadOpenLevel(int level, CSpiFile& file, SpiFileFingerprint* read);
  struct UserFileAhead;
  void ReadUserFileAhead();
  // The user level: located, read (or skipped when not found). 0 or -1.
  int ReadUserLevel();
  void WritePendingLog(bool replace);
  int SessionName(std::string& value);
  // For AddValue and ClearValues: false (with the error entry written) when refused.
  bool ChangeAllowed(const std::string& message);
  void WriteLogEntry(bool isError, const std::string& text);
  void MoveLogToTempDir();
  void DropInheritedSettings(const CSpiProject& inherited);
  // The text of one level of the model as a project file stores it, dated modified.
  std::string LevelText(int level, std::optional<std::time_t> modified) const;
  int SaveLevel(const std::string& path, int level, const char* failMessage,
                SpiFileFingerprint& read);
  // What Save and SaveCopy share: the checks, saveProject for the project level, the user file.
  int SaveLevels(const std::string& path,
                 const std::function<int(const std::string& path)>& saveProject);

  CSpiProgramList programs_;
  std::string projectFile_;
  std::string projectFullPath_;
  int level_ = 2;
  CSpiProgram* currentProgram_ = nullptr;
  CSpiDirective* currentDirective_ = nullptr;
  std::string logPath_;
  std::string staleLog_;  // during Open: the log of the Open before, replaced at its end
  bool opened_ = false;   // the last Open read every level
  // OpenForLookup: what it wants of the project file (during the Open), and that the model
  // holds only part of it (after).
  SpiWantedDirectives* lookup_ = nullptr;
  bool partial_ = false;
  std::unique_ptr<UserFileAhead> userAhead_;  // during the Open of a lookup
  // What Open read of the project and user files, for Save to tell whether they changed since.
  SpiFileFingerprint projectRead_;
  SpiFileFingerprint userRead_;
  bool scratchProject_ = false;
  // OpenForChange: the exclusive locks and how long to wait for them.
  bool forChange_ = false;
  std::chrono::milliseconds changePatience_ = kChangePatience;
  SpiExclusiveHold projectHold_;
  SpiExclusiveHold userHold_;
  // Open collects its log entries and writes them with one open of the log at its end.
  bool collectingLog_ = false;
  std::string pendingLog_;
  std::size_t pendingLogMapped_ = 0;  // bytes of its block mapped ahead of the entries
  std::string lastEntryMessage_;
};

#include "projectfile/CSpiProject.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "projectfile/CSpiFile.h"
#include "projectfile/SpiAcceptance.h"
#include "projectfile/SpiAtomicFile.h"
#include "projectfile/SpiExpandVariables.h"
#include "projectfile/SpiFailureCause.h"
#include "projectfile/SpiLastMessage.h"
#include "projectfile/SpiLog.h"
#include "projectfile/SpiPages.h"
#include "projectfile/SpiProcessState.h"
#include "projectfile/SpiReader.h"
#include "projectfile/SpiText.h"
#include "projectfile/SpiWantedDirectives.h"
#include "projectfile/SpiWritable.h"
#include "projectfile/SpiWriter.h"

namespace {

constexpr const char* kInstallRelative = "qvdsetup/projmgr/qvd.tak";
constexpr const char* kSiteRelative = "qvdsetup/projmgr/site.tak";
constexpr const char* kUserRelative = "qvdsetup/projmgr/user.tak";
constexpr std::size_t kPendingLogRoom = std::size_t{1} << 20;
constexpr std::size_t kLogMapStep = std::size_t{64} << 10;
constexpr std::size_t kLogEntryFrame = 128;  // an entry's heading and closing rule
constexpr const char* kLockNote =
    "\nAnother tool which is running has a lock on the tak file. Exit from other tools invoked on "
    "the same project before starting a new one";

// Finds a setup file once per process. 0 found, 1 not found, -1 no search service.
int LocateSetupFile(std::string& remembered, const char* relative) {
  if (!remembered.empty()) return 0;
  SpiProcessState& state = SpiState();
  if (!state.searchHandle) {
    if (const int failed = qsfInitialize(&state.searchHandle)) {
      state.searchHandle = nullptr;
      SpiSetLastMessage(spi::Format("SPI_ERROR: %s", qsfGetErrorMsg(failed)));
      return -1;
    }
  }
  std::string found;
  if (const int failed = qsfSearch(state.searchHandle, relative, found)) {
    SpiSetLastMessage(spi::Format(
        "SPI_ERROR: Failed to find \"%s\", %s. Include the installation directory in the path.",
        relative, qsfGetErrorMsg(failed)));
    return 1;
  }
  // A relative match ("./...", or "../..." from the search path) is made absolute here, so
  // that a later change of the current directory does not move it.
  std::error_code error;
  const auto absolute = std::filesystem::absolute(found, error);
  remembered = error ? found : absolute.lexically_normal().string();
  return 0;
}

// A name as a C string shows it: up to its first NUL byte.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string AbsoluteText(const std::string& path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

std::string UserName() {
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
      found->pw_name && *found->pw_name)
    return found->pw_name;
  if (const char* user = std::getenv("USER"); user && *user) return user;
  return {};
}

// Stores the failed open's message (with the lock note for a lock); -1.
int FailOpen(const char* openMessage, const std::string& path, int cause) {
  std::string message = spi::Format(openMessage, path.c_str(), SpiCauseText(cause));
  if (cause == SPI_CAUSE_SHARING_VIOLATION || cause == SPI_CAUSE_LOCK_VIOLATION)
    message += kLockNote;
  SpiSetLastMessage(message);
  return -1;
}

}  // namespace

CSpiProject::CSpiProject() = default;
CSpiProject::~CSpiProject() = default;

std::string CSpiProject::LevelLabel(int level) const {
  switch (level) {
    case SPI_LEVEL_INSTALL:
      return "qvd.tak";
    case SPI_LEVEL_SITE:
      return "site.tak";
    case SPI_LEVEL_PROJECT:
      return projectFile_.empty() ? "<project>.tak" : projectFile_;
    default:
      return "user.tak";
  }
}

int CSpiProject::ReadLevel(int level, const std::string& path, const char* openMessage,
                           SpiFileFingerprint* read, SpiExclusiveHold* hold) {
  if (hold) {
    if (const int cause = hold->Acquire(path, changePatience_))
      return FailOpen(openMessage, path, cause);
  }
  CSpiFile file;
  if (const int cause = file.Open(path)) return FailOpen(openMessage, path, cause);
  return ReadOpenLevel(level, file, read);
}

int CSpiProject::ReadOpenLevel(int level, CSpiFile& file, SpiFileFingerprint* read) {
  if (read) *read = {};
  SpiReadPolicy policy;
  policy.honoured = SpiValueHonoured;
  // A file can hold many refused values: the labels are made once, and each entry is built
  // in one reused string.
  const std::array<std::string, kSpiLevelCount> labels = {LevelLabel(0), LevelLabel(1),
                                                          LevelLabel(2), LevelLabel(3)};
  std::string text;
  policy.refused = [this, &labels, &text](const std::string& program,
                                          const CSpiDirective& directive, int at) {
    if (!SpiState().refusalLogging) return;
    text.assign("The directive \"")
        .append(UpToNul(program))
        .append(":")
        .append(UpToNul(directive.name))
        .append("\" in \"")
        .append(labels[at])
        .append("\"\nis not being honoured because of the following control settings.\n");
    SpiAppendDirectiveDump(text, directive, labels);
    WriteLogEntry(false, text);
  };
  if (lookup_ && level == SPI_LEVEL_PROJECT) {
    // A lookup keeps of the project file only the lines it wants, streamed past the rest.
    policy.wanted = [this](const CSpiProgram& program, std::string_view name, std::uint32_t hash) {
      return lookup_->Contains(program.name, name, hash);
    };
    policy.wantedProgram = [this](std::string_view program) {
      return lookup_->ContainsProgram(program);
    };
    file.Stream();
  }
  const int result = SpiReadFile(programs_, file, level, policy);
  if (result == 0 && read) *read = file.Fingerprint();
  return result;
}

// OpenForLookup: the user file, located, opened and read before the project file.
struct CSpiProject::UserFileAhead {
  int located = 1;      // LocateSetupFile's result
  std::string message;  // its message when it found nothing
  int cause = 0;        // the open's failure cause
  CSpiFile file;        // open (with its shared lock) and loaded when found
};

void CSpiProject::ReadUserFileAhead() {
  // The user file's refusals are logged with each level's values, so the project file's lines
  // of every directive it names must be kept: it is read first, its names added to those the
  // lookup wants, and its reading at its own level uses the same bytes. This leaves no message.
  const std::string message = SpiLastMessage();
  userAhead_ = std::make_unique<UserFileAhead>();
  UserFileAhead& ahead = *userAhead_;
  std::string& path = SpiState().userFilePath;
  ahead.located = LocateSetupFile(path, kUserRelative);
  if (ahead.located != 0) {
    ahead.message = SpiLastMessage();
  } else if ((ahead.cause = ahead.file.Open(path)) == 0) {
    ahead.file.ReadInto(programs_.Arena());
    CSpiFile copy;
    copy.ReadFrom(ahead.file.Load(), ahead.file.FullPath());
    CSpiProgramList named;
    SpiReadFile(named, copy, SPI_LEVEL_USER);
    for (const CSpiProgram* program : named.Programs())
      for (const CSpiDirective* directive : program->Directives())
        lookup_->Add(program->name, directive->name);
  }
  SpiSetLastMessage(message);
}

int CSpiProject::ReadUserLevel() {
  const char* openMessage = "SPI_ERROR: Failed to open USER project file \"%s\". %s";
  SpiProcessState& state = SpiState();
  if (!userAhead_) {
    if (LocateSetupFile(state.userFilePath, kUserRelative) != 0) return 0;  // skipped
    return ReadLevel(SPI_LEVEL_USER, state.userFilePath, openMessage, &userRead_,
                     forChange_ ? &userHold_ : nullptr);
  }
  const std::unique_ptr<UserFileAhead> ahead = std::move(userAhead_);
  if (ahead->located != 0) {
    SpiSetLastMessage(ahead->message);
    return 0;
  }
  if (ahead->cause) return FailOpen(openMessage, state.userFilePath, ahead->cause);
  return ReadOpenLevel(SPI_LEVEL_USER, ahead->file, &userRead_);
}

int CSpiProject::OpenInstallAndSite() {
  SpiProcessState& state = SpiState();
  if (LocateSetupFile(state.installFilePath, kInstallRelative) != 0) return -1;
  if (ReadLevel(0, state.installFilePath,
                "SPI_ERROR: Failed to open INSTALL project file \"%s\". %s") != 0)
    return -1;
  if (LocateSetupFile(state.siteFilePath, kSiteRelative) == 0 &&
      ReadLevel(1, state.siteFilePath, "SPI_ERROR: Failed to open SITE project file \"%s\". %s") !=
          0)
    return -1;
  return 0;
}

int CSpiProject::OpenForChange(const std::string& projectFile, std::chrono::milliseconds patience) {
  forChange_ = true;
  changePatience_ = patience;
  const int result = Open(projectFile);
  forChange_ = false;
  return result;
}

int CSpiProject::OpenForLookup(const std::string& projectFile, const std::string& program,
                               const std::string& directive) {
  SpiWantedDirectives wanted;
  wanted.Add(program, directive);
  wanted.Add("GLOBAL", "temp_dir");  // where Open moves the log
  lookup_ = &wanted;
  const int result = Open(projectFile);
  lookup_ = nullptr;
  return result;
}

int CSpiProject::Open(const std::string& projectFile) {
  // The refusal entries of one Open are written with one open of the log, at its end (also
  // when it fails), in the order they arose.
  collectingLog_ = true;
  // Room for the entries of a file full of refusals up front: a large block costs only the
  // pages written, while growing step by step would copy the entries again and again. The
  // block is the process's spare one when there is one: handing a block back to the system
  // costs far more than writing the entries (a flush of the address translations on every
  // processor), and the next Open of the process writes into the same pages.
  std::string& spare = SpiState().spareLogBuffer;
  pendingLog_ = std::move(spare);
  spare = std::string();
  pendingLog_.clear();
  pendingLog_.reserve(kPendingLogRoom);
  pendingLogMapped_ = 0;
  // Every Open leaves a log of its own entries only: the log there now is replaced at the end
  // (written over in place, or removed when this Open logged nothing).
  staleLog_ = logPath_;
  if (staleLog_.empty())
    if (const std::string temp = SpiTempDirectory(); !temp.empty()) staleLog_ = temp + "/tak.log";
  const int result = OpenLevels(projectFile);
  userAhead_.reset();  // a user file read ahead by a failed Open is let go
  collectingLog_ = false;
  // Where the entries were moved to the project's temp folder, the old place only goes.
  const bool replaceHere = !staleLog_.empty() && staleLog_ == logPath_;
  if (!staleLog_.empty() && (pendingLog_.empty() || !replaceHere)) ::unlink(staleLog_.c_str());
  WritePendingLog(replaceHere);
  staleLog_.clear();
  // Kept for the next Open unless a log of many refusals made it larger than the usual room
  // (an Open nested in this one has its own block).
  pendingLog_.clear();
  if (pendingLog_.capacity() <= kPendingLogRoom && spare.capacity() < pendingLog_.capacity())
    spare = std::move(pendingLog_);
  pendingLog_ = std::string();
  pendingLog_.shrink_to_fit();  // its memory back when it was not kept
  return result;
}

void CSpiProject::WritePendingLog(bool replace) {
  if (pendingLog_.empty() || logPath_.empty()) return;
  const int cause = SpiWriteLog(logPath_, pendingLog_, replace);
  pendingLog_.clear();
  // Each entry is the last message when it arises; a log that could not be written is said
  // after the last one, so that neither is lost.
  if (cause && SpiLastMessage() == lastEntryMessage_)
    SpiSetLastMessage(lastEntryMessage_ + "\n" +
                      spi::Format("SPI_ERROR: Failed to create/open log file \"%s\". %s",
                                  logPath_.c_str(), SpiCauseText(cause)));
}

int CSpiProject::OpenLevels(const std::string& projectFile) {
  opened_ = false;
  partial_ = lookup_ != nullptr;
  userAhead_.reset();
  projectRead_ = {};
  userRead_ = {};
  projectHold_.Release();
  userHold_.Release();
  programs_.Clear();
  projectFile_.clear();  // labels name "<project>.tak" until the project level is reached
  currentProgram_ = nullptr;
  currentDirective_ = nullptr;
  projectFullPath_.clear();

  if (OpenInstallAndSite() != 0) return -1;

  projectFile_ = projectFile;
  if (projectFile_.empty()) {
    SpiSetLastMessage("SPI_ERROR: No filename given, can't open project file");
    return -1;
  }
  std::string forward = projectFile_;
  for (char& c : forward)
    if (c == '\\') c = '/';
  const auto installed = forward.find(kInstallRelative);
  if (installed != std::string::npos && installed > 0) {
    SpiSetLastMessage(spi::Format("SPI_ERROR: Not allow to open the installed project file \"%s\"",
                                  projectFile_.c_str()));
    return -1;
  }
  projectFullPath_ = AbsoluteText(projectFile_);
  if (lookup_) ReadUserFileAhead();
  if (ReadLevel(2, projectFile_, "SPI_ERROR: Failed to open project file \"%s\". %s", &projectRead_,
                forChange_ ? &projectHold_ : nullptr) != 0)
    return -1;
  if (ReadUserLevel() != 0) return -1;

  if (FindProgram("Global") == 0) MoveLogToTempDir();
  opened_ = true;
  return 0;
}

void CSpiProject::MoveLogToTempDir() {
  const auto slash = projectFile_.find_last_of("\\/");
  std::string dir;
  if (slash != std::string::npos) {
    dir = projectFile_.substr(0, slash);
  } else {
    std::error_code error;
    dir = std::filesystem::current_path(error).string();
  }
  // Without temp_dir the message of the levels read (say, a skipped site file) stays.
  const std::string previousMessage = SpiLastMessage();
  std::string tempDir;
  if (GetValue("temp_dir", tempDir) != 0) {
    SpiSetLastMessage(previousMessage);
    return;
  }
  std::error_code error;
  std::string candidate;
  if (std::filesystem::exists(dir + "/" + tempDir, error))
    candidate = dir + "/" + tempDir;
  else if (std::filesystem::exists(tempDir, error))
    candidate = tempDir;
  else
    return;
  candidate += "/tak.log";
  // The entries of this Open so far belong in the new place, replacing the log there (the
  // old place is emptied when Open ends). Where they cannot be written, they stay for the old
  // place.
  if (!pendingLog_.empty() && !logPath_.empty() &&
      AbsoluteText(logPath_) != AbsoluteText(candidate)) {
    if (SpiWriteLog(candidate, pendingLog_, true) == SPI_CAUSE_NONE) {
      pendingLog_.clear();
    } else {
      WritePendingLog(staleLog_ == logPath_);
      staleLog_.clear();  // the old place holds this Open's entries now
    }
  }
  logPath_ = candidate;
}

bool CSpiProject::NeedProgram(const char* operation) {
  if (currentProgram_) return true;
  SpiSetLastMessage(spi::Format("SPI_ERROR: %s needs a current program", operation));
  return false;
}

bool CSpiProject::NeedDirective(const char* operation) {
  if (currentProgram_ && currentDirective_) return true;
  SpiSetLastMessage(spi::Format("SPI_ERROR: %s needs a current directive", operation));
  return false;
}

int CSpiProject::FindProgram(const std::string& name) {
  CSpiProgram* program = programs_.Find(name);
  if (!program) {
    SpiSetLastMessage(spi::Format("SPI_NOTE: Can't find the program \"%s\"", name.c_str()));
    return 1;
  }
  if (program != currentProgram_) currentDirective_ = nullptr;
  currentProgram_ = program;
  return 0;
}

CSpiProgram* CSpiProject::AddProgram(const std::string& name) {
  if (const std::string problem = SpiProgramNameProblem(name); !problem.empty()) {
    // No current program: what the caller goes on to add cannot land in another program.
    currentProgram_ = nullptr;
    currentDirective_ = nullptr;
    SpiSetLastMessage("SPI_ERROR: The program name \"" + SpiShown(name) +
                      "\" cannot be written in a project file: " + problem + ".");
    return nullptr;
  }
  currentProgram_ = &programs_.Append(name, level_);
  currentDirective_ = nullptr;
  return currentProgram_;
}

int CSpiProject::FindDirective(const std::string& name) {
  if (!NeedProgram("FindDirective")) return -1;
  CSpiDirective* directive = currentProgram_->FindDirective(name);
  if (!directive) {
    SpiSetLastMessage(spi::Format("SPI_NOTE: Can't find the directive \"%s\"", name.c_str()));
    return 1;
  }
  currentDirective_ = directive;
  return 0;
}

int CSpiProject::AddDirective(const std::string& name) {
  if (!NeedProgram("AddDirective")) return -1;
  if (FindDirective(name) == 0) return 0;
  // A new directive may be saved with values or without (a line of its own): it must read back
  // either way, in the value section and in the control-settings section.
  const std::string endLine = "END_" + spi::ToUpper(currentProgram_->name);
  std::string problem = SpiDirectiveNameProblem(name, endLine, false);
  if (problem.empty())
    problem = SpiDirectiveNameProblem(name, endLine + "_CONTROL_SETTINGS", false);
  if (!problem.empty()) {
    currentDirective_ = nullptr;
    SpiSetLastMessage("SPI_ERROR: The directive name \"" + SpiShown(name) + "\" of program \"" +
                      SpiShown(currentProgram_->name) +
                      "\" cannot be written in a project file: " + problem + ".");
    return -1;
  }
  currentDirective_ = &currentProgram_->AppendDirective(name, currentProgram_->level);
  return 0;
}

void CSpiProject::RewindValues() {
  if (NeedDirective("RewindValues")) currentDirective_->WinningValues(programs_.Arena()).Rewind();
}

int CSpiProject::GetNextValue(std::string& value) {
  if (!NeedDirective("GetNextValue")) return -1;
  std::string raw;
  if (!currentDirective_->WinningValues(programs_.Arena()).Next(raw)) return 2;
  std::string expanded;
  std::string ignored;
  value = SpiExpandVariables(raw, expanded, ignored) == 1 ? std::move(expanded) : std::move(raw);
  return 0;
}

int CSpiProject::GetValue(const std::string& name, std::string& value) {
  if (!NeedProgram("GetValue")) return -1;
  if (spi::EqualsIgnoringCase(name, "session_name") &&
      spi::EqualsIgnoringCase(currentProgram_->name, "Global") && !SpiState().sessionLookupBusy)
    return SessionName(value);
  if (const int found = FindDirective(name)) return found;
  RewindValues();
  return GetNextValue(value);
}

int CSpiProject::SessionName(std::string& value) {
  std::vector<std::string>& arguments = SpiProcessArguments();
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view word = arguments[i];
    if (!word.empty() && (word.front() == '-' || word.front() == '/')) word.remove_prefix(1);
    if (spi::EqualsIgnoringCase(word, "mpssession")) {
      value = i + 1 < arguments.size() ? arguments[i + 1] : std::string();
      return 0;
    }
  }
  if (FindProgram("Global") != 0) return -1;
  SpiState().sessionLookupBusy = true;
  std::string session;
  if (GetValue("session_name", session) != 0) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    session += std::to_string(std::rand());
  }
  SpiState().sessionLookupBusy = false;
  if (std::string user = UserName(); !user.empty()) {
    for (char& c : user)
      if (c == ' ') c = '_';
    session = user + "_" + session;
  }
  value = session;
  // Later lookups in this process find the same name.
  arguments.push_back("-mpssession");
  arguments.push_back(session);
  return 0;
}

void CSpiProject::WriteLogEntry(bool isError, const std::string& text) {
  std::string failure;
  if (logPath_.empty()) {
    const std::string temp = SpiTempDirectory();
    if (temp.empty())
      failure = "Could not find TMP/$TEMP environment variable to write tak.log to";
    else
      logPath_ = temp + "/tak.log";
  }
  if (failure.empty() && collectingLog_) {
    // The block's pages mapped a step at a time ahead of the entries, not one fault each.
    if (pendingLog_.size() + text.size() + kLogEntryFrame > pendingLogMapped_ &&
        pendingLogMapped_ < pendingLog_.capacity()) {
      const std::size_t step = std::min(kLogMapStep, pendingLog_.capacity() - pendingLogMapped_);
      SpiPrefault(pendingLog_.data() + pendingLogMapped_, step);
      pendingLogMapped_ += step;
    }
    SpiAppendLogEntryText(pendingLog_, isError, text);
    lastEntryMessage_ = text;
  } else if (failure.empty()) {
    if (const int cause = SpiAppendLogEntry(logPath_, isError, text))
      failure = spi::Format("SPI_ERROR: Failed to create/open log file \"%s\". %s",
                            logPath_.c_str(), SpiCauseText(cause));
  }
  // The entry is the last message; a log that could not be written is said after it, so that
  // neither is lost.
  SpiSetLastMessage(failure.empty() ? text : text + "\n" + failure);
}

bool CSpiProject::ChangeAllowed(const std::string& message) {
  const CSpiDirective& directive = *currentDirective_;
  const int level = directive.winningLevel == 3 ? 3 : 2;
  if (SpiValueHonoured(directive, level)) return true;
  WriteLogEntry(true, message + SpiDirectiveDump(directive, {LevelLabel(0), LevelLabel(1),
                                                             LevelLabel(2), LevelLabel(3)}));
  return false;
}

int CSpiProject::AddValue(const std::string& value) {
  if (!NeedDirective("AddValue")) return -1;
  CSpiDirective& directive = *currentDirective_;
  if (const std::string problem = SpiValueProblem(value); !problem.empty()) {
    SpiSetLastMessage("SPI_ERROR: The value \"" + SpiShown(value) + "\" of directive \"" +
                      SpiShown(currentProgram_->name) + ":" + SpiShown(directive.name) +
                      "\" cannot be written in a project file: " + problem + ".");
    return -1;
  }
  if (!ChangeAllowed(spi::Format(
          "The directive \"%s:%s\"\ncannot be set to value \"%s\"\nbecause of the following "
          "control settings.\n",
          currentProgram_->name.c_str(), std::string(directive.name).c_str(), value.c_str())))
    return -1;
  if (directive.winningLevel < 2) {
    // The inherited values are not copied: the project level starts with this value.
    directive.ClearValues(2);
    directive.winningLevel = 2;
  }
  if (directive.winningLevel == 3)
    directive.userSet = true;
  else
    directive.projectSet = true;
  directive.WinningValues(programs_.Arena()).Append(value, programs_.Arena());
  return 0;
}

int CSpiProject::ClearValues() {
  if (!NeedDirective("ClearValues")) return -1;
  CSpiDirective& directive = *currentDirective_;
  if (!ChangeAllowed(spi::Format("The value of directive \"%s:%s\"\ncannot be modified because "
                                 "of the following control settings.\n",
                                 currentProgram_->name.c_str(),
                                 std::string(directive.name).c_str())))
    return -1;
  if (directive.winningLevel == 3)
    directive.userSet = true;
  else
    directive.projectSet = true;
  directive.ClearValues(directive.winningLevel);
  return 0;
}

void CSpiProject::DropInheritedSettings(const CSpiProject& inherited) {
  for (const auto& program : programs_.Programs()) {
    const CSpiProgram* scratch = inherited.programs_.Find(program->name);
    if (!scratch) continue;
    for (const auto& directive : program->Directives()) {
      CSpiDirective& d = *directive;
      if (d.winningLevel == 3 || !d.projectSet || d.ControlPresent(d.winningLevel)) continue;
      const CSpiDirective* e = scratch->FindDirective(d.name);
      if (!e) continue;
      // The project file's own values are compared: a project value refused by a lock keeps
      // its place in the project file instead of being dropped as a repeat of the lock's.
      d.projectSet = !d.Values(2).EqualsIgnoringCase(e->WinningValues());
    }
  }
}

int CSpiProject::SaveLevel(const std::string& path, int level, const char* failMessage,
                           SpiFileFingerprint& read) {
  // The bytes Open read are hashed now, not when they were read: only a save compares them.
  read.HashContent();
  SpiFileFingerprint written;
  const int cause = SpiReplaceFile(
      path,
      [this, level](std::optional<std::time_t> modified) { return LevelText(level, modified); },
      &read, &written, !(level == 2 && scratchProject_));
  if (cause == 0) {
    read = written;  // a second Save compares with what the first one wrote
    return 0;
  }
  std::string message = spi::Format(failMessage, path.c_str(), SpiCauseText(cause));
  if (std::string(SpiCauseText(cause)).find("lock") != std::string::npos) message += kLockNote;
  SpiSetLastMessage(message);
  return -1;
}

std::string CSpiProject::LevelText(int level, std::optional<std::time_t> modified) const {
  std::string text = SpiFormatHeader("SPI", "{", "}", modified);
  SpiFormatLevel(programs_, level, text);
  return text;
}

int CSpiProject::Save() {
  const std::string path = projectFullPath_.empty() ? projectFile_ : projectFullPath_;
  return SaveLevels(path, [this](const std::string& target) {
    return SaveLevel(target, 2, "SPI_ERROR: Failed to save project file \"%s\". %s", projectRead_);
  });
}

int CSpiProject::SaveCopy(const std::string& path,
                          const std::function<bool(const std::string& text)>& write) {
  return SaveLevels(path, [this, &path, &write](const std::string&) {
    if (write(LevelText(2, std::time(nullptr)))) return 0;
    SpiSetLastMessage(spi::Format("SPI_ERROR: Failed to save project file \"%s\".", path.c_str()));
    return -1;
  });
}

int CSpiProject::SaveLevels(const std::string& path,
                            const std::function<int(const std::string& path)>& saveProject) {
  if (path.empty()) {
    SpiSetLastMessage("SPI_ERROR: No file name to save to");
    return -1;
  }
  if (!opened_ || partial_) {
    // Writing a model that was read only in part would drop the rest of the file.
    SpiSetLastMessage(spi::Format(
        "SPI_ERROR: Failed to save project file \"%s\". The project was not read completely.",
        path.c_str()));
    return -1;
  }
  {
    CSpiProject inherited;
    SpiState().refusalLogging = false;
    const int read = inherited.OpenInstallAndSite();
    SpiState().refusalLogging = true;
    if (read != 0) return -1;
    DropInheritedSettings(inherited);
  }
  // Whatever would not read back the same refuses the whole save, before anything is written.
  // The user file is written only by a project that read it: one located by another project
  // of this process after this one was opened would lose its settings.
  const std::string userFile = userRead_.known ? SpiState().userFilePath : std::string();
  for (const int level : {2, 3}) {
    if (level == 3 && userFile.empty()) break;
    if (const std::string problem = SpiLevelProblem(programs_, level); !problem.empty()) {
      SpiSetLastMessage(spi::Format("SPI_ERROR: Failed to save %s file \"%s\". ",
                                    level == 2 ? "project" : "user",
                                    (level == 2 ? path : userFile).c_str()) +
                        problem + " Nothing was written.");
      return -1;
    }
  }
  if (saveProject(path) != 0) return -1;
  if (!userFile.empty() &&
      SaveLevel(userFile, 3, "SPI_ERROR: Failed to save user file \"%s\". %s", userRead_) != 0)
    return -1;
  // The locks of OpenForChange are on the files just replaced: they protect nothing more.
  projectHold_.Release();
  userHold_.Release();
  return 0;
}

#include "verify/WaiverFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/PrintableText.h"
#include "base/ReplaceFile.h"
#include "projectfile/CSpiProject.h"
#include "projectfile/SpiAtomicFile.h"
#include "projectfile/SpiFailureCause.h"
#include "projectfile/SpiFileLock.h"
#include "verify/FlowWords.h"

namespace fs = std::filesystem;

namespace {

// A waiver file is a text of lines; one larger than this is no waiver file.
constexpr std::size_t kWaiverFileLimit = std::size_t{64} << 20;
constexpr std::chrono::milliseconds kAddPatience{30000};

constexpr const char* kUsage =
    "usage: kestra waive -rule R -lib L -cell C [-object O] -reason TEXT [-author NAME]\n"
    "         [-expires YYYY-MM-DD] (-waivers FILE | -proj FILE.tak)\n"
    "  adds a waiver to the waiver file (-waivers, else the project's verify_waivers);\n"
    "  -rule, -lib, -cell and -object take the wildcards * and ?; the author is $USER\n";

std::string ProjectDirective(const std::string& projectFile) {
  CSpiProject project;
  std::string value;
  if (project.OpenForLookup(projectFile, "GLOBAL", kWaiversDirective) != 0 ||
      project.FindProgram("GLOBAL") != 0 || project.GetValue(kWaiversDirective, value) != 0)
    return "";
  return value;
}

std::string Author() {
  for (const char* name : {"USER", "LOGNAME"}) {
    if (const char* value = std::getenv(name); value != nullptr && *value != '\0') return value;
  }
  // A service account of a CI runner may have no USER: the account's name then.
  if (const passwd* account = ::getpwuid(::getuid()); account != nullptr && account->pw_name)
    return account->pw_name;
  return "";
}

}  // namespace

std::string WaiverFileOf(const std::string& given, const std::string& projectFile) {
  if (!given.empty()) return given;
  if (projectFile.empty()) return "";
  const std::string value = ProjectDirective(projectFile);
  if (value.empty()) return "";
  const fs::path path(value);
  if (path.is_absolute()) return value;
  return (fs::absolute(projectFile).parent_path() / path).lexically_normal().string();
}

std::optional<std::vector<Waiver>> ReadWaiverFile(const std::string& file, std::string& error) {
  std::string text;
  if (!ReadRegularFile(file, text, &error, kWaiverFileLimit)) {
    error = "the waiver file cannot be read: " + error;
    return std::nullopt;
  }
  return ParseWaivers(text, file, error);
}

bool AddWaiver(const std::string& file, const Waiver& waiver, std::string& error) {
  const std::string line = WaiverLine(waiver, error);
  if (line.empty()) return false;
  // Made empty when missing, never truncated: another process may be adding to it now.
  if (const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
      fd >= 0) {
    ::close(fd);
  } else if (errno != ELOOP) {
    error = "cannot write " + file + ": " + std::strerror(errno);
    return false;
  }
  SpiExclusiveHold hold;
  if (const int cause = hold.Acquire(file, kAddPatience)) {
    error = "cannot lock " + file + ": " + SpiCauseText(cause);
    return false;
  }
  std::string text;
  if (!ReadRegularFile(file, text, &error, kWaiverFileLimit)) return false;
  // An entry is never added to a file that does not read as waivers.
  if (!ParseWaivers(text, file, error)) return false;
  if (!text.empty() && text.back() != '\n') text += '\n';
  text += line + "\n";
  if (const int cause = SpiReplaceFile(file, [&](std::optional<std::time_t>) { return text; })) {
    error = "cannot write " + file + ": " + SpiCauseText(cause);
    return false;
  }
  return true;
}

int RunWaiveVerb(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  static constexpr std::string_view kValued[] = {
      "-rule", "-lib", "-cell", "-object", "-reason", "-author", "-expires", "-waivers", "-proj"};
  if (FlowWords::HelpAsked(words, kValued)) {
    out << kUsage;
    return 0;
  }
  std::string error;
  const auto parsed =
      FlowWords::Parse(words, {}, kValued, {"-rule", "-lib", "-cell", "-reason"}, error);
  if (!parsed) {
    err << "kestra waive: " << PrintableText(error) << "\n" << kUsage;
    return 2;
  }
  Waiver waiver;
  waiver.rule = parsed->Value("-rule");
  waiver.library = parsed->Value("-lib");
  waiver.part = parsed->Value("-cell");
  waiver.object = parsed->Value("-object");
  waiver.reason = parsed->Value("-reason");
  waiver.author = parsed->Has("-author") ? parsed->Value("-author") : Author();
  waiver.date = TodayDate();
  waiver.expires = parsed->Value("-expires");
  if (waiver.reason.find_first_not_of(" \t") == std::string::npos) {
    err << "kestra waive: -reason needs a text that says why the finding is accepted\n";
    return 2;
  }
  if (waiver.author.empty()) {
    err << "kestra waive: give -author NAME (USER is not set)\n";
    return 2;
  }
  if (!waiver.expires.empty() && !IsWaiverDate(waiver.expires)) {
    err << "kestra waive: -expires needs a date written YYYY-MM-DD, not \""
        << PrintableText(waiver.expires) << "\"\n";
    return 2;
  }
  const std::string file = WaiverFileOf(parsed->Value("-waivers"), parsed->Value("-proj"));
  if (file.empty()) {
    err << "kestra waive: give -waivers FILE, or -proj FILE.tak whose GLOBAL sets "
        << kWaiversDirective << "\n";
    return 2;
  }
  if (!AddWaiver(file, waiver, error)) {
    err << "kestra waive: " << PrintableText(error) << "\n";
    return 2;
  }
  out << "waived " << PrintableText(waiver.rule) << " on " << PrintableText(waiver.library) << "/"
      << PrintableText(waiver.part)
      << (waiver.object.empty() ? "" : " (" + PrintableText(waiver.object) + ")") << " in "
      << PrintableText(file) << "\n";
  return 0;
}

#include "verify/packaging/PackagingReports.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "base/OwnFolder.h"
#include "base/ReplaceFile.h"
#include "base/SignalText.h"
#include "dialogs/PartVerdict.h"

namespace fs = std::filesystem;

bool RemakeDirectory(const std::string& directory) {
  std::error_code error;
  fs::remove_all(directory, error);
  fs::create_directories(directory, error);
  return fs::is_directory(directory, error);
}

Verdict PackagerVerdict(const std::string& scratch) {
  const PartVerdict read =
      ReadPartVerdictFiles(fs::path(scratch) / kStatusReport, fs::path(scratch) / kLogReport);
  if (read.code == 0) return read.withWarnings ? Verdict::PassedWithWarnings : Verdict::Passed;
  return read.code == 2 ? Verdict::Unknown : Verdict::Failed;
}

std::string PackagerVerdictMessage(Verdict verdict) {
  switch (verdict) {
    case Verdict::Passed:
      return "Instantiation and packaging checks PASSED, see log file for details";
    case Verdict::Failed:
      return "Instantiation and packaging checks FAILED, see log file for details";
    case Verdict::PassedWithWarnings:
      return "Inst. and packaging checks PASSED but some warnings are reported in the log file";
    case Verdict::Unknown:
      break;
  }
  return kUnknownPackagingStatus;
}

void CopyPartReports(const std::string& scratch, const std::string& projectDir,
                     const std::string& part) {
  const std::string temp = projectDir + "temp";
  if (!MakeOwnFolder(temp)) return;
  const auto copy = [&](const char* report, const char* ending) {
    const std::string source = (fs::path(scratch) / report).string();
    std::error_code error;
    if (fs::exists(source, error)) CopyRegularFile(source, temp + "/" + part + ending);
  };
  copy(kLogReport, ".log");
  copy(kStatusReport, ".stat");
}

std::string PackagingEndedBySignalText(const std::string& tool, int signal) {
  return std::string(kUnknownPackagingStatus) + ": " + tool + " was ended by " + SignalText(signal);
}

std::string ConsistencyFile(const std::string& projectFile, const char* ending) {
  if (projectFile.ends_with(".tak")) return projectFile.substr(0, projectFile.size() - 4) + ending;
  return projectFile + ending;
}

std::string ConsistencySummary(const std::string& projectFile) {
  const std::string file = ConsistencyFile(projectFile, ".sum");
  std::error_code error;
  if (!fs::is_regular_file(file, error) || fs::file_size(file, error) == 0 || error)
    return kUnknownPackagingStatus;
  std::ifstream in(file, std::ios::binary);
  if (!in) return kUnknownPackagingStatus;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

Verdict ConsistencyVerdict(const std::string& summary) {
  if (summary == kUnknownPackagingStatus) return Verdict::Unknown;
  std::string upper = summary;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (upper.find("FAILED") != std::string::npos) return Verdict::Failed;
  if (upper.find("WARNING") != std::string::npos) return Verdict::PassedWithWarnings;
  if (upper.find("PASSED") != std::string::npos) return Verdict::Passed;
  return Verdict::Unknown;
}

ReportLine ReadPackagerLogLine(std::string_view line, Finding& finding) {
  const bool error = line.starts_with("ERROR");
  if (!error && !line.starts_with("WARNING")) return ReportLine::Other;
  finding.severity = error ? Severity::Error : Severity::Warning;
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return ReportLine::Unreadable;
  std::string_view text = line.substr(colon + 1);
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  if (text.empty()) return ReportLine::Unreadable;
  static constexpr std::string_view kPart = "part ";
  // "part table T not found" is about the run, not about a part named "table ...".
  if (const std::size_t end = text.find(": "); text.starts_with(kPart) && end != text.npos) {
    finding.part = std::string(text.substr(kPart.size(), end - kPart.size()));
    text.remove_prefix(end + 2);
  }
  finding.rule = "packaging";
  finding.message = std::string(text);
  return ReportLine::Finding;
}

void ReadPackagerFindings(const std::string& statusFile, const std::string& logFile,
                          const std::string& part, Verdict verdict, std::vector<Finding>& findings,
                          bool& truncated) {
  const std::size_t before = findings.size();
  ReadReportFindings(logFile, part, ReadPackagerLogLine, findings, truncated);
  if (verdict != Verdict::Failed && verdict != Verdict::Unknown) return;
  const bool anyError =
      std::any_of(findings.begin() + static_cast<std::ptrdiff_t>(before), findings.end(),
                  [](const Finding& f) { return f.severity >= Severity::Error; });
  if (anyError) return;
  Finding status;
  status.rule = "status";
  status.part = part;
  status.object = statusFile;
  status.message = verdict == Verdict::Unknown
                       ? "the status report " + statusFile + " cannot be read"
                       : "the status report " + statusFile + " does not say PASSED";
  AddFinding(findings, truncated, std::move(status));
}

std::vector<Finding> ConsistencyFindings(const std::string& projectFile, const std::string& summary,
                                         Verdict verdict) {
  if (verdict == Verdict::Passed) return {};
  Finding finding;
  finding.rule = "consistency";
  finding.severity = verdict == Verdict::PassedWithWarnings ? Severity::Warning : Severity::Error;
  finding.object = ConsistencyFile(projectFile, ".sum");
  finding.message = summary;
  return {finding};
}

#include "verify/simulation/CellsimReports.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/SignalText.h"
#include "outside/CFilePath.h"
#include "verify/PathNames.h"
#include "verify/ReportFindings.h"
#include "verify/simulation/CellsimPaths.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kPieceChars = 79;

// Searches the file in pieces of at most 79 characters (a line, or the next part of a longer
// line), upper-cased; sets what the first piece with each keyword says.
void SearchStatusPieces(std::istream& in, bool& passed, bool& warnings) {
  std::array<char, kPieceChars + 1> piece{};
  while (!passed || !warnings) {
    in.getline(piece.data(), piece.size());
    const std::streamsize got = in.gcount();
    if (got == 0 && !in) break;
    if (in.fail() && !in.eof()) in.clear();  // a longer line: its next piece follows
    std::string text(piece.data(), std::strlen(piece.data()));
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (text.find("PASSED WITH WARNING") != std::string::npos) warnings = true;
    if (text.find("PASSED") != std::string::npos) passed = true;
    if (in.eof()) break;
  }
}

}  // namespace

int ReadFinalStatus(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return 1;
  if (error) return 2;
  // A folder (or a device) where the report should be says nothing about the run.
  if (status.type() != fs::file_type::regular) return 2;
  const auto size = fs::file_size(path, error);
  if (error) return 2;
  if (size == 0) return 1;
  std::ifstream in(path);
  if (!in) return 1;
  bool passed = false;
  bool warnings = false;
  SearchStatusPieces(in, passed, warnings);
  if (warnings) return 3;
  return passed ? 0 : 1;
}

Verdict CellsimVerdictOf(int status) {
  switch (status) {
    case 0:
      return Verdict::Passed;
    case 1:
      return Verdict::Failed;
    case 3:
      return Verdict::PassedWithWarnings;
    default:
      return Verdict::Unknown;
  }
}

std::string CellsimVerdictMessage(int status, bool stopOnNetlist) {
  const std::string checks = stopOnNetlist ? "Verification checks" : "Simulation checks";
  switch (status) {
    case 0:
      return checks + " PASSED, see log file for details";
    case 1:
      return checks + " FAILED, see log file for details";
    case 3:
      return checks + " PASSED but some warnings are reported in the log file";
    default:
      return "Unable to determine pass/fail status of " + checks;
  }
}

bool IsPlainPassMessage(const std::string& message) {
  return message == CellsimVerdictMessage(0, false) || message == CellsimVerdictMessage(0, true);
}

namespace {

struct Section {
  const char* open;
  const char* title;
  const char* close;
};

// The regular "*.log" files of a folder, in name order.
std::vector<fs::path> LogFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path& file = it->path();
    if (file.extension() != ".log") continue;
    // A dangling link matches too: it is named as unreadable rather than passed over. Pipes
    // and devices are left out, since opening them could wait for ever.
    std::error_code typeError;
    std::error_code existsError;
    const bool dangling = it->is_symlink(typeError) && !fs::exists(file, existsError);
    if (it->is_regular_file(typeError) || dangling) files.push_back(file);
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Copies a file with every line feed written as CR LF, in blocks.
bool CopyWithCrLf(const fs::path& file, std::ostream& out) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  static constexpr std::size_t kBlock = 1 << 16;
  std::vector<char> block(kBlock);
  std::vector<char> converted;
  converted.reserve(2 * kBlock);
  while (in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    converted.clear();
    for (std::streamsize i = 0; i < got; ++i) {
      if (block[static_cast<std::size_t>(i)] == '\n') converted.push_back('\r');
      converted.push_back(block[static_cast<std::size_t>(i)]);
    }
    out.write(converted.data(), static_cast<std::streamsize>(converted.size()));
  }
  return !in.bad();
}

}  // namespace

ErrorLogAppend AppendErrorLogs(const std::string& summaryPath, const std::string& library) {
  ErrorLogAppend result;
  std::ofstream out(summaryPath, std::ios::binary | std::ios::app);
  if (!out) return result;
  result.opened = true;
  const std::string logDir = ParentPath(summaryPath);
  const Section sections[] = {
      {"\n==================\n", " sim_error_log(s) ", "\n==================\n\n"},
      {"\n==================================\n", "\twrapper_error_log(s) ",
       "\n==================================\n\n"},
      {"\n==============================\n", "\tmap_error_log(s) ",
       "\n==============================\n\n"},
  };
  const std::string patterns[] = {logDir + "/sim_error_log/QelLog_" + library + "Sim/*.log",
                                  logDir + "/wrapper_error_log/*.log",
                                  logDir + "/map_error_log/*.log"};
  for (int i = 0; i < 3; ++i) {
    std::string pattern = patterns[i];
    CFilePath().NormalizePath(pattern);
    out << sections[i].open << sections[i].title << sections[i].close;
    for (const fs::path& file : LogFiles(ParentPath(pattern))) {
      if (CopyWithCrLf(file, out)) {
        ++result.filesCopied;
      } else {
        result.unreadable.push_back(file.string());
        out << "*** " << file.string() << ": cannot be read\n";
      }
    }
  }
  return result;
}

CellsimOutcome ReadCellsimOutcome(const std::string& projectDir, const std::string& library,
                                  bool stopOnNetlist) {
  CellsimOutcome outcome;
  outcome.status = ReadFinalStatus(CellsimFinalStatusPath(projectDir));
  outcome.message = CellsimVerdictMessage(outcome.status, stopOnNetlist);
  if (IsPlainPassMessage(outcome.message)) {
    outcome.logFile = CellsimFinalStatusPath(projectDir);
  } else {
    outcome.logFile = CellsimSummaryPath(projectDir);
    outcome.logs = AppendErrorLogs(outcome.logFile, library);
  }
  return outcome;
}

void MarkCellsimEndedBySignal(CellsimOutcome& outcome, int signal, bool stopOnNetlist) {
  outcome.status = 2;
  outcome.message =
      CellsimVerdictMessage(2, stopOnNetlist) + ": cellsim was ended by " + SignalText(signal);
}

namespace {

// A line of the summary report before the appended error logs ("===" starts them).
ReportLine ReadSummaryLine(std::string_view line, bool& inLogs, Finding& finding) {
  inLogs = inLogs || line.starts_with("===");
  if (inLogs || line.empty()) return ReportLine::Other;
  finding.message = std::string(line);
  if (line.starts_with("ERROR") || line.starts_with("WARNING")) {
    finding.rule = "models";
    finding.severity = line.starts_with("ERROR") ? Severity::Error : Severity::Warning;
    // "ERROR:" with nothing after it says that something failed, not what.
    const std::size_t colon = line.find(':');
    return colon != std::string_view::npos && line.find_first_not_of(' ', colon + 1) == line.npos
               ? ReportLine::Unreadable
               : ReportLine::Finding;
  }
  // "<cell>: netlist FAILED, simulation not run"
  const std::size_t failed = line.find("FAILED");
  if (failed == std::string_view::npos) return ReportLine::Other;
  const std::size_t colon = line.rfind(": netlist ");
  if (colon == std::string_view::npos) return ReportLine::Unreadable;
  finding.part = std::string(line.substr(0, colon));
  finding.rule = line.find("netlist FAILED") != std::string_view::npos ? "netlist" : "simulation";
  return ReportLine::Finding;
}

// A line of one part's error log: "<cell> <view>: <what went wrong>".
ReportLine ReadErrorLogLine(std::string_view line, const char* rule, Finding& finding) {
  if (line.empty()) return ReportLine::Other;
  finding.rule = rule;
  finding.message = std::string(line);
  static constexpr std::string_view kLacksPin = " lacks symbol pin ";
  if (const std::size_t at = line.find(kLacksPin); at != std::string_view::npos) {
    finding.rule = "pin_missing_in_wrapper";
    finding.object = std::string(line.substr(at + kLacksPin.size()));
  }
  return ReportLine::Finding;
}

}  // namespace

void ReadCellsimFindings(const std::string& projectDir, const std::string& library,
                         const std::vector<std::string>& unreadableLogs,
                         std::vector<Finding>& findings, bool& truncated) {
  const std::string summary = CellsimSummaryPath(projectDir);
  bool inLogs = false;
  ReadReportFindings(
      summary, "",
      [&](std::string_view line, Finding& finding) {
        return ReadSummaryLine(line, inLogs, finding);
      },
      findings, truncated);
  const std::string logDir = ParentPath(summary);
  const std::pair<std::string, const char*> folders[] = {
      {logDir + "/sim_error_log/QelLog_" + library + "Sim", "simulation_error"},
      {logDir + "/wrapper_error_log", "wrapper_netlist"},
      {logDir + "/map_error_log", "map_netlist"},
  };
  for (const auto& [folder, rule] : folders) {
    for (const fs::path& file : LogFiles(folder)) {
      ReadReportFindings(
          file.string(), file.stem().string(),
          [rule = rule](std::string_view line, Finding& finding) {
            return ReadErrorLogLine(line, rule, finding);
          },
          findings, truncated);
    }
  }
  for (const std::string& file : unreadableLogs) {
    Finding finding;
    finding.rule = "unreadable_error_log";
    finding.object = file;
    finding.message = "error log " + file + " cannot be read";
    AddFinding(findings, truncated, std::move(finding));
  }
}

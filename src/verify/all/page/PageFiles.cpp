#include "verify/all/page/PageFiles.h"

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "base/OwnFolder.h"
#include "base/ReplaceFile.h"
#include "verify/OutputFile.h"
#include "verify/all/jobs/PartJobs.h"

namespace fs = std::filesystem;

std::string NowText() {
  const std::time_t now = std::time(nullptr);
  std::tm utc = {};
  ::gmtime_r(&now, &utc);
  char text[64] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
  return text;
}

namespace {

bool Below(const fs::path& path, const fs::path& folder) {
  const auto [stop, ignored] =
      std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
  return stop == folder.end();
}

}  // namespace

std::string MergedLogProblem(const std::string& log, const std::string& resultsFile) {
  std::error_code code;
  const fs::path real = fs::canonical(log, code);
  if (code) return "it cannot be found (" + code.message() + ")";
  const fs::path results = fs::canonical(fs::absolute(resultsFile, code).parent_path(), code);
  if (!code && results.filename() == "results" &&
      results.parent_path().filename().string().ends_with(".d") &&
      Below(real, results.parent_path()))
    return "";
  const fs::path folder = real.parent_path();
  if (folder.filename() == "logs" && folder.parent_path().filename() == "verify-all") return "";
  return "it lies outside the results' folders (a job list's FILE.d/ or a run's verify-all/logs/)";
}

bool WritePageWithLogs(PageRequest request, std::vector<std::string>& warnings,
                       std::string& error) {
  std::error_code code;
  const fs::path page = fs::absolute(request.file, code);
  const std::string folderName = page.stem().string() + "_logs";
  const fs::path folder = page.parent_path() / folderName;
  // The page's folder is the user's (it may well be a link); the log folder beside it is ours.
  error = PrepareOutputFile(page.string());
  if (!error.empty()) return false;
  if (!RemakeOwnFolder(folder.string(), {}, &error)) return false;
  ReportPageData data;
  data.cells.reserve(request.results.size());
  data.title = request.title;
  data.generated = NowText();
  data.flows = request.flows;
  data.hasPrevious = request.hasPrevious;
  data.changes = ChangesSince(request.previous, request.results);
  if (request.hasPrevious)
    data.findingChanges = FindingChangesSince(request.previous, request.results);
  request.previous = {};
  for (std::size_t i = 0; i < request.results.size(); ++i) {
    PageCell cell{std::move(request.results[i]), "",
                  i < request.reused.size() && request.reused[i]};
    const VerifyResult& result = cell.result;
    if (!result.log.empty()) {
      const std::string name = PartKey(result.library, result.cell) + "." + result.flow + ".log";
      std::string copyError;
      if (!CopyRegularFile(result.log, (folder / name).string(), &copyError)) {
        warnings.push_back("the log " + result.log + " is not copied: " + copyError);
      } else {
        cell.logLink = folderName + "/" + name;
      }
    }
    data.cells.push_back(std::move(cell));
  }
  request.results = {};
  return WriteReportPage(data, page.string(), error);
}

#include "verify/all/page/PageFiles.h"

#include <ctime>
#include <filesystem>

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

bool WritePageWithLogs(const PageRequest& request, std::vector<std::string>& warnings,
                       std::string& error) {
  std::error_code code;
  const fs::path page = fs::absolute(request.file, code);
  const std::string folderName = page.stem().string() + "_logs";
  const fs::path folder = page.parent_path() / folderName;
  fs::create_directories(page.parent_path(), code);
  fs::remove_all(folder, code);
  fs::create_directories(folder, code);
  if (code) {
    error = "cannot make the log folder " + folder.string() + ": " + code.message();
    return false;
  }
  ReportPageData data;
  data.title = request.title;
  data.generated = NowText();
  data.flows = request.flows;
  data.hasPrevious = request.hasPrevious;
  data.changes = ChangesSince(request.previous, request.results);
  for (std::size_t i = 0; i < request.results.size(); ++i) {
    const VerifyResult& result = request.results[i];
    PageCell cell{result, "", i < request.reused.size() && request.reused[i]};
    if (!result.log.empty()) {
      const std::string name = PartKey(result.library, result.cell) + "." + result.flow + ".log";
      std::error_code copyError;
      fs::copy_file(result.log, folder / name, fs::copy_options::overwrite_existing, copyError);
      if (copyError) {
        warnings.push_back("the log " + result.log + " cannot be copied: " + copyError.message());
      } else {
        cell.logLink = folderName + "/" + name;
      }
    }
    data.cells.push_back(std::move(cell));
  }
  return WriteReportPage(data, page.string(), error);
}

// pavrel, the stand-in layout editor. Started as the footprint viewer with
//   -proj "<project>" -symbol "<footprint file>" [-verify "<verify file>"]
// it says which footprint it opens; when the verify file holds "check symbol" it checks the
// footprint file's syntax, prints each finding and the verdict, and writes the same lines to
// pavrel_verify.log beside the verify file. Exit status 0, or 1 when the check found errors
// or the footprint could not be opened. Without -symbol (the Pavrel command) it only says
// how it was started.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "StandinRecord.h"
#include "verify/footprint/FootprintCheck.h"
#include "verify/footprint/FootprintTexts.h"

namespace fs = std::filesystem;

namespace {

std::string Option(int argc, char** argv, const std::string& name) {
  for (int i = 1; i + 1 < argc; ++i)
    if (argv[i] == name) return argv[i + 1];
  return "";
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

int main(int argc, char** argv) {
  RecordStandinStart("pavrel", argc, argv);
  const std::string symbol = Option(argc, argv, "-symbol");
  if (symbol.empty()) return 0;
  std::error_code error;
  if (!fs::is_regular_file(symbol, error)) {
    std::cout << "pavrel: cannot open " << symbol << std::endl;
    return 1;
  }
  std::cout << "pavrel: viewing " << symbol << std::endl;
  const std::string verifyFile = Option(argc, argv, "-verify");
  if (verifyFile.empty()) return 0;

  const std::string request = FileText(verifyFile);
  if (request != kVerifyFileText) {
    std::cout << "pavrel: the verify file " << verifyFile << " does not say \"" << kVerifyFileText
              << "\"; nothing checked" << std::endl;
    return 0;
  }
  const std::string name = fs::path(symbol).stem().string();
  const FootprintCheck check = CheckFootprintFile(symbol, name);
  std::vector<std::string> lines;
  for (const std::string& finding : check.findings) lines.push_back(symbol + ": " + finding);
  lines.push_back("pavrel: check of " + name + ": " +
                  (check.findings.empty() ? "passed" : "failed") + " (" +
                  std::to_string(check.findings.size()) + " errors)");
  const fs::path report = fs::path(verifyFile).parent_path() / "pavrel_verify.log";
  std::ofstream out(report, std::ios::trunc);
  for (const std::string& line : lines) {
    std::cout << line << "\n";
    out << line << "\n";
  }
  std::cout.flush();
  return check.findings.empty() ? 0 : 1;
}

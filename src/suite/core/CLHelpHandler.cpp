#include "outside/CLHelpHandler.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDesktopServices>
#include <QUrl>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "base/qvdCommon.h"
#include "framework/Prompter.h"

namespace {
void AppendLine(const char* file, const std::string& line) {
  const int fd = ::open(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  [[maybe_unused]] const ssize_t written = ::write(fd, line.data(), line.size());
  ::close(fd);
}
}  // namespace

void CLHelpHandler::InvokeHelp(unsigned topic) {
  const std::string line = "help: topic " + std::to_string(topic);
  if (const char* log = std::getenv("KESTRA_HELP_LOG"); log && *log) AppendLine(log, line + "\n");
  const char* quiet = std::getenv("KESTRA_NONINTERACTIVE");
  if (quiet && std::strcmp(quiet, "1") == 0) {
    std::cerr << line << std::endl;
    return;
  }
  const std::string page =
      qvdGetInstallRoot() + "/share/doc/kestra/" + std::to_string(topic) + ".html";
  std::error_code ec;
  if (!std::filesystem::exists(page, ec)) {
    AfxMessageBox("Help topic " + std::to_string(topic) + " is not installed (" + page + ").",
                  MB_ICONINFORMATION);
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page))))
    AfxMessageBox("Cannot open the help page " + page + ".", MB_ICONWARNING);
}

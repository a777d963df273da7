#include "suite/launcher/LaunchLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

void AppendLaunchRecord(const LaunchRecord& record) {
  const char* file = std::getenv("KESTRA_LAUNCH_LOG");
  if (!file || !*file) return;
  const nlohmann::json line = {{"operation", record.operation}, {"program", record.program},
                               {"arguments", record.arguments}, {"executable", record.executable},
                               {"product", record.product},     {"owner", record.owner}};
  // Texts are 8-bit; bytes that are not UTF-8 are replaced rather than failing the start.
  const std::string text =
      line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  // One write with O_APPEND keeps lines whole when several processes log to one file.
  const int fd = ::open(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  [[maybe_unused]] const ssize_t written = ::write(fd, text.data(), text.size());
  ::close(fd);
}

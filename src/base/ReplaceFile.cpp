#include "base/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <streambuf>

namespace {

// Gives error the text "<what> <path>: <reason of code>" and returns false.
bool Fail(std::string* error, const char* what, const std::string& path, int code) {
  if (error != nullptr) *error = std::string(what) + " " + path + ": " + std::strerror(code);
  return false;
}

// Writes all of content; 0 or the errno of the failure.
int WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    if (written == 0) return ENOSPC;
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// A stream buffer that writes to a descriptor in pieces of its buffer's size and keeps the
// errno of the first failed write (after which it writes nothing more).
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }
  int Error() const { return error_; }

 protected:
  int_type overflow(int_type c) override {
    if (Drain() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return Drain() == 0 ? 0 : -1; }

 private:
  int Drain() {
    if (error_ == 0)
      error_ = WriteAll(fd_, std::string_view(pbase(), static_cast<std::size_t>(pptr() - pbase())));
    setp(buffer_, buffer_ + sizeof buffer_);
    return error_;
  }

  int fd_;
  int error_ = 0;
  char buffer_[65536];
};

// A descriptor for reading a regular file: never blocks on a FIFO, refuses what is not a
// regular file. -1 with error set.
int OpenRegularFile(const std::string& path, std::string* error, struct stat& info) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    Fail(error, "cannot read", path, errno);
    return -1;
  }
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    if (error != nullptr) *error = "cannot read " + path + ": not a regular file";
    return -1;
  }
  return fd;
}

// Writes a new file beside path with write (0 or an errno) and renames it over path.
bool ReplaceWith(const std::string& path, const std::function<int(int fd)>& write,
                 std::string* error) {
  struct stat target = {};
  if (::lstat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode))
    return Fail(error, "cannot write", path, EISDIR);
  std::random_device random;
  for (int attempt = 0; attempt < 8; ++attempt) {
    const std::string temporary = path + ".new-" + std::to_string(random());
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return Fail(error, "cannot write", path, errno);
    }
    int code = write(fd);
    if (::close(fd) != 0 && code == 0) code = errno;
    if (code == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) code = errno;
    if (code == 0) return true;
    ::unlink(temporary.c_str());
    return Fail(error, "cannot write", path, code);
  }
  return Fail(error, "cannot write", path, EEXIST);
}

}  // namespace

bool ReplaceFileContent(const std::string& path, std::string_view content, std::string* error) {
  return ReplaceWith(
      path, [&](int fd) { return WriteAll(fd, content); }, error);
}

bool ReplaceFileFromStream(const std::string& path,
                           const std::function<void(std::ostream&)>& produce, std::string* error) {
  return ReplaceWith(
      path,
      [&](int fd) {
        auto buffer = std::make_unique<DescriptorBuffer>(fd);
        std::ostream out(buffer.get());
        produce(out);
        out.flush();
        return buffer->Error() != 0 ? buffer->Error() : out ? 0 : EIO;
      },
      error);
}

bool ReadSingleNameFile(const std::string& path, std::string& content, std::size_t limit) {
  content.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW);
  if (fd < 0) return false;
  struct stat info = {};
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1 &&
            static_cast<std::size_t>(info.st_size) <= limit;
  // One byte more than limit is asked for: a file that grew past it since fstat is refused.
  std::string held(ok ? static_cast<std::size_t>(info.st_size) + 1 : 0, '\0');
  std::size_t got = 0;
  while (ok) {
    const ssize_t n = ::read(fd, held.data() + got, held.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    got += static_cast<std::size_t>(n);
    if (got > limit) ok = false;
    if (got == held.size()) held.resize(std::min(held.size() * 2, limit + 1));
  }
  ::close(fd);
  if (ok) content.assign(held.data(), got);
  return ok;
}

bool FileHolds(const std::string& path, std::string_view content) {
  std::string held;
  return ReadSingleNameFile(path, held, content.size()) && held == content;
}

bool ReadRegularFile(const std::string& path, std::string& content, std::string* error,
                     std::size_t limit) {
  content.clear();
  struct stat info = {};
  const int fd = OpenRegularFile(path, error, info);
  if (fd < 0) return false;
  // Room for the whole file at once: no growing and copying as its pieces arrive.
  if (info.st_size > 0 && static_cast<std::size_t>(info.st_size) < limit)
    content.reserve(static_cast<std::size_t>(info.st_size) + 1);
  bool ok = true;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ok = Fail(error, "cannot read", path, errno);
    if (got <= 0) break;
    if (content.size() + static_cast<std::size_t>(got) > limit) {
      if (error != nullptr)
        *error = "cannot read " + path + ": larger than " + std::to_string(limit) + " bytes";
      ok = false;
      break;
    }
    content.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  if (!ok) content.clear();
  return ok;
}

RegularFileChars::RegularFileChars(const std::string& path, std::size_t limit)
    : path_(path), limit_(limit) {
  struct stat info = {};
  fd_ = OpenRegularFile(path, &error_, info);
}

RegularFileChars::~RegularFileChars() {
  if (fd_ >= 0) ::close(fd_);
}

bool RegularFileChars::Fill() {
  if (next_ < size_) return true;
  if (fd_ < 0) return false;
  next_ = size_ = 0;
  ssize_t got = -1;
  do {
    got = ::read(fd_, buffer_.data(), buffer_.size());
  } while (got < 0 && errno == EINTR);
  if (got < 0) Fail(&error_, "cannot read", path_, errno);
  if (got > 0 && read_ + static_cast<std::size_t>(got) > limit_) {
    error_ = "cannot read " + path_ + ": larger than " + std::to_string(limit_) + " bytes";
    got = -1;
  }
  if (got <= 0) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  read_ += static_cast<std::size_t>(got);
  size_ = static_cast<std::size_t>(got);
  return true;
}

bool CopyRegularFile(const std::string& source, const std::string& target, std::string* error) {
  struct stat info = {};
  const int in = OpenRegularFile(source, error, info);
  if (in < 0) return false;
  std::string readError;
  const bool copied = ReplaceWith(
      target,
      [&](int out) {
        char buffer[65536];
        for (;;) {
          const ssize_t got = ::read(in, buffer, sizeof buffer);
          if (got < 0 && errno == EINTR) continue;
          if (got < 0) {
            const int code = errno;
            Fail(&readError, "cannot read", source, code);
            return code;
          }
          if (got == 0) return 0;
          if (const int code =
                  WriteAll(out, std::string_view(buffer, static_cast<std::size_t>(got))))
            return code;
        }
      },
      error);
  ::close(in);
  if (!copied && !readError.empty() && error != nullptr) *error = readError;
  return copied;
}

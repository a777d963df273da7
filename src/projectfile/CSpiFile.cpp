#include "projectfile/CSpiFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "projectfile/SpiFailureCause.h"
#include "projectfile/SpiFileDescriptor.h"
#include "projectfile/SpiFileLock.h"
#include "projectfile/SpiLastMessage.h"
#include "projectfile/SpiText.h"

namespace {

// Reading goes on past the size the file had when opened (it may grow), in steps of this.
constexpr std::size_t kReadStep = 1 << 16;
// A streamed file is read in pieces of this size (a longer line grows the buffer); a smaller
// file in one piece of its size, at least kSmallPiece.
constexpr std::size_t kStreamPiece = std::size_t{256} << 10;
constexpr std::size_t kSmallPiece = std::size_t{4} << 10;
// Files up to this size have their model's pages mapped up front, kPrefaultFactor times the
// file's bytes.
constexpr std::size_t kPrefaultLimit = std::size_t{1} << 17;
constexpr std::size_t kPrefaultFactor = 8;
// A Save in another process holds its exclusive lock only while it writes; a reader waits
// this long for it instead of failing at once, and never forever.
constexpr auto kLockPatience = std::chrono::seconds(2);

// The position of the first c in text from from on, or npos. Inline, eight bytes at a time:
// names and values are a few bytes long, where a call of memchr per search costs more than
// the search and a loop per byte stumbles on its last branch.
std::size_t FindByte(std::string_view text, char c, std::size_t from = 0) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
  std::size_t i = from;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    // A byte equal to c is a zero byte of x; the lowest marked byte is the first zero.
    const std::uint64_t x = word ^ pattern;
    if (const std::uint64_t zero = (x - kOnes) & ~x & kHighs)
      return i + static_cast<std::size_t>(std::countr_zero(zero) >> 3);
  }
  for (; i < text.size(); ++i)
    if (text[i] == c) return i;
  return std::string_view::npos;
}

}  // namespace

CSpiFile::~CSpiFile() { Close(); }

int CSpiFile::Open(const std::string& path) {
  Close();
  bytes_ = {};
  lineNumber = 0;
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  fullPath_ = error ? path : absolute.lexically_normal().string();
  SpiFileDescriptor file;
  struct stat status {};
  if (const int cause = SpiOpenLocked(path, LOCK_SH, kLockPatience, file, status)) return cause;
  fd_ = file.Release();
  fingerprint_ = {};
  fingerprint_.SetIdentity(status);
  expectedSize_ = status.st_size > 0 ? static_cast<std::size_t>(status.st_size) : 0;
  broken_ = false;
  linesDelivered_ = 0;
  buffer_ = nullptr;
  begin_ = end_ = chunkOffset_ = 0;
  streaming_ = keep_ = false;
  eof_ = false;
  return SPI_CAUSE_NONE;
}

void CSpiFile::ReadFrom(std::string_view bytes, const std::string& fullPath) {
  Close();
  fullPath_ = fullPath;
  lineNumber = 0;
  fingerprint_ = {};
  broken_ = false;
  linesDelivered_ = 0;
  bytes_ = bytes;
  buffer_ = bytes.empty() ? nullptr : bytes.data();
  begin_ = chunkOffset_ = 0;
  end_ = bytes.size();
  streaming_ = keep_ = false;
}

std::string_view CSpiFile::Load() {
  if (!buffer_ && !streaming_) FillBuffer();
  return bytes_;
}

void CSpiFile::KeepLine(std::string_view& name) {
  if (!streaming_) return;
  keep_ = true;
  const std::string_view copy = arena_->Copy(restLine_);
  const char* line = restLine_.data();
  if (!name.empty() && name.data() >= line && name.data() < line + restLine_.size())
    name = copy.substr(static_cast<std::size_t>(name.data() - line), name.size());
  restLine_ = copy;
}

SpiFileFingerprint CSpiFile::Fingerprint() const {
  SpiFileFingerprint result = fingerprint_;
  // An empty file has a view without an address: its hash is taken all the same. A streamed
  // file kept no bytes: its hash stays unknown, so that a save would be refused.
  if (!streaming_) result.unhashed = bytes_.data() ? bytes_ : std::string_view("", 0);
  return result;
}

void CSpiFile::Break(const std::string& message) {
  broken_ = true;
  eof_ = true;
  breakMessage_ = message;
  SpiSetLastMessage(message);
}

void CSpiFile::Close() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the shared lock
  fd_ = -1;
  eof_ = true;
  begin_ = end_ = 0;
}

bool CSpiFile::FillBuffer() {
  if (fd_ < 0 || eof_) return false;
  eof_ = true;  // one filling reads to the end
  // The size the file had when Open locked it; bytes it gained since are read all the same.
  const std::size_t expected = expectedSize_;
  // Room for one byte more than expected, so that the end is seen without another block.
  std::size_t capacity = expected + 1;
  char* data = static_cast<char*>(arena_->Allocate(capacity, 1));
  // A small file's bytes and the model made of them (up to about eight times the bytes for
  // short lines) mapped at once: far cheaper than a page fault each, above all on virtual
  // machines. Large files are left to the large pages their blocks are advised for.
  if (expected <= kPrefaultLimit) arena_->Prefault(kPrefaultFactor * capacity);
  std::size_t size = 0;
  while (true) {
    if (size == capacity) {
      // The file grew since it was opened: a larger block, the first one is left behind.
      const std::size_t larger = capacity + std::max(capacity, kReadStep);
      char* moved = static_cast<char*>(arena_->Allocate(larger, 1));
      std::memcpy(moved, data, size);
      data = moved;
      capacity = larger;
    }
    const ssize_t got = ::read(fd_, data + size, capacity - size);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      // A read error is not the end of the file: what follows would be missing from the model.
      Break(spi::Format("SPI_ERROR: Failed to read line %zu in \"%s\". %s", linesDelivered_ + 1,
                        fullPath_.c_str(), SpiCauseText(SpiCauseFromErrno(errno))));
      return false;
    }
    if (got == 0) break;
    size += static_cast<std::size_t>(got);
  }
  bytes_ = {data, size};
  buffer_ = data;
  begin_ = 0;
  end_ = size;
  return size > 0;
}

bool CSpiFile::NextWholeFileLine(const char*& start, std::size_t& length) {
  if (!buffer_ && !FillBuffer()) return false;
  if (begin_ >= end_) return false;
  start = buffer_ + begin_;
  const std::size_t available = end_ - begin_;
  length = available;
  if (const void* newline = std::memchr(start, '\n', available)) {
    length = static_cast<std::size_t>(static_cast<const char*>(newline) - start);
    begin_ += length + 1;
  } else {
    begin_ = end_;  // a last line without a line end
  }
  return true;
}

bool CSpiFile::ReadMore() {
  if (begin_ > 0) {
    std::memmove(chunk_.get(), chunk_.get() + begin_, end_ - begin_);
    chunkOffset_ += begin_;
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == chunkSize_) {
    // Not zeroed: only what read() fills is used, and pages never written cost nothing (a
    // small file touches one page of the piece, not all of it).
    // The first piece holds a small file whole (and the read that sees its end), from the
    // heap: a full piece would be a mapping of its own, made and returned for one Open.
    const std::size_t first = std::clamp(expectedSize_ + 1, kSmallPiece, kStreamPiece);
    const std::size_t size = std::max(chunkSize_ == 0 ? first : kStreamPiece, 2 * chunkSize_);
    auto grown = std::make_unique_for_overwrite<char[]>(size);
    if (end_ > 0) std::memcpy(grown.get(), chunk_.get(), end_);
    chunk_ = std::move(grown);
    chunkSize_ = size;
  }
  buffer_ = chunk_.get();
  while (true) {
    const ssize_t got = ::read(fd_, chunk_.get() + end_, chunkSize_ - end_);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      Break(spi::Format("SPI_ERROR: Failed to read line %zu in \"%s\". %s", linesDelivered_ + 1,
                        fullPath_.c_str(), SpiCauseText(SpiCauseFromErrno(errno))));
      return false;
    }
    if (got == 0) eof_ = true;
    end_ += static_cast<std::size_t>(got);
    return true;
  }
}

bool CSpiFile::NextStreamedLine(const char*& start, std::size_t& length) {
  std::size_t searched = 0;  // bytes after begin_ known to hold no line end
  while (true) {
    const char* from = chunk_.get() + begin_;
    // Before the first read the buffer has no storage at all: nothing to search then.
    const void* newline = end_ - begin_ > searched
                              ? std::memchr(from + searched, '\n', end_ - begin_ - searched)
                              : nullptr;
    if (newline) {
      start = from;
      length = static_cast<std::size_t>(static_cast<const char*>(newline) - from);
      begin_ += length + 1;
      return true;
    }
    searched = end_ - begin_;
    // At the end a last line without a line end; a line longer than any line may be is handed
    // on at that length, for the caller to refuse, instead of being read on.
    if (eof_ || fd_ < 0 || searched > kMaxLineLength) {
      if (searched == 0) return false;
      start = from;
      length = searched;
      begin_ = end_;
      return true;
    }
    if (!ReadMore()) return false;
  }
}

bool CSpiFile::NextLine(std::string_view& line) {
  const char* start = nullptr;
  std::size_t length = 0;
  if (!(streaming_ ? NextStreamedLine(start, length) : NextWholeFileLine(start, length)))
    return false;
  if (length > kMaxLineLength) {
    // Something that is not a project file (a huge binary file, say): say so, instead of
    // handing on a line no project file holds.
    Break(
        spi::Format("SPI_ERROR: Line %zu in \"%s\" is longer than %zu bytes, the most a "
                    "line of a project file may hold.",
                    linesDelivered_ + 1, fullPath_.c_str(), kMaxLineLength));
    return false;
  }
  line = std::string_view(start, length);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // text mode
  if (keep_) line = arena_->Copy(line);
  ++linesDelivered_;
  return true;
}

std::string_view CSpiFile::PeekWord() const {
  // A streamed line may move before the next one is read: no guess then.
  if (!buffer_ || streaming_) return {};
  std::size_t begin = begin_;
  while (begin < end_ && (buffer_[begin] == ' ' || buffer_[begin] == '\t')) ++begin;
  std::size_t end = begin;
  while (end < end_ && !spi::IsSpace(buffer_[end])) ++end;
  return {buffer_ + begin, end - begin};
}

bool CSpiFile::ReadLine(std::string& line) {
  std::string_view view;
  if (!NextLine(view)) {
    line.clear();
    return false;
  }
  line.assign(view);
  return true;
}

int CSpiFile::Fail(const char* format) {
  SpiSetLastMessage(spi::Format(format, lineNumber, fullPath_.c_str()));
  return -1;
}

int CSpiFile::ReadProgramHeader(std::string& name, int& isControl) {
  isControl = 0;
  keep_ = false;
  std::string_view raw;
  std::string_view line;
  bool readSomething = false;
  while (NextLine(raw)) {
    ++lineNumber;
    line = spi::Trim(raw);
    if (const auto brace = line.find('{'); brace != std::string_view::npos)
      line = line.substr(0, brace);
    if (!line.empty()) {
      readSomething = true;
      break;
    }
  }
  if (Broken()) {
    // Said again: the file may have been loaded ahead, before other messages (Load).
    SpiSetLastMessage(breakMessage_);
    Close();
    return -1;
  }
  const std::string upper = readSomething ? spi::ToUpper(line) : std::string();
  if (upper.find("START_") == std::string::npos) {
    Close();
    if (!readSomething) return 1;
    SpiSetLastMessage(
        spi::Format("SPI_ERROR: Line %d does not fall in START_<program>..END_<program> section.\n",
                    lineNumber) +
        spi::Format("Incorrect project file %s.", fullPath_.c_str()));
    return -1;
  }
  std::string_view sectionName = std::string_view(upper).substr(6);
  sectionName = spi::TrimRight(sectionName);
  static constexpr std::string_view kControl = "_CONTROL_SETTINGS";
  if (sectionName.size() >= kControl.size() &&
      spi::EqualsIgnoringCase(sectionName.substr(sectionName.size() - kControl.size()), kControl)) {
    name = std::string(sectionName.substr(0, sectionName.size() - kControl.size()));
    isControl = 1;
  } else {
    name = std::string(sectionName);
  }
  programName = name;
  endLine = "END_" + std::string(sectionName);
  return 0;
}

int CSpiFile::ReadDirectiveName(std::string_view& name) {
  ++lineNumber;
  keep_ = false;
  restLine_ = {};
  restBegin_ = restEnd_ = 0;
  if (!NextLine(restLine_))
    return Broken() ? -1 : Fail("SPI_ERROR: Failed to read line %d in \"%s\"");
  const std::string_view line = spi::Trim(restLine_);
  std::size_t separator = FindByte(line, ' ');
  if (separator == std::string_view::npos) separator = FindByte(line, '\t');

  if (separator == std::string_view::npos) {
    // A lone word: compared with the end line in upper case, comments cut off; kept in upper
    // case unless it ends the section.
    upper_.assign(line.substr(0, line.find('{')));
    for (char& c : upper_) c = spi::ToUpper(c);
    if (upper_ == endLine) return 5;
    name = arena_->Copy(upper_);
    return 0;
  }
  const std::size_t lineStart = static_cast<std::size_t>(line.data() - restLine_.data());
  if (line.front() == '\'' || line.front() == '"') {
    const std::size_t close = FindByte(line, line.front(), 1);
    if (close == std::string_view::npos)
      return Fail("SPI_ERROR: Missing closing quote at line %d in \"%s\"");
    name = line.substr(1, close - 1);
    restBegin_ = lineStart + close + 1;
    restEnd_ = lineStart + line.size();
    return name == endLine ? 5 : 0;
  }
  // The name ends at the first blank even when a tab comes earlier.
  name = line.substr(0, separator);
  restBegin_ = lineStart + separator;
  restEnd_ = lineStart + line.size();
  return 0;
}

int CSpiFile::ReadValue(std::string_view& value, std::int8_t& doubleQuoted) {
  while (restBegin_ < restEnd_ && spi::IsSpace(restLine_[restBegin_])) ++restBegin_;
  while (restEnd_ > restBegin_ && spi::IsSpace(restLine_[restEnd_ - 1])) --restEnd_;
  if (restBegin_ >= restEnd_) return 4;
  const std::string_view rest = Rest();
  const bool continued = rest.back() == '\\';
  std::size_t valueEnd;
  std::size_t restFrom;
  if (rest.front() == '\'' || rest.front() == '"') {
    if (rest.front() == '"') doubleQuoted = 1;
    const std::size_t close = FindByte(rest, rest.front(), 1);
    if (close == std::string_view::npos) {
      Close();
      return Fail("SPI_ERROR: Missing closing quote at line %d in \"%s\"");
    }
    value = rest.substr(1, close - 1);
    restFrom = close + 1;
  } else {
    const std::size_t blank = FindByte(rest, ' ');
    valueEnd = blank != std::string_view::npos ? blank : rest.size() - (continued ? 1 : 0);
    value = rest.substr(0, valueEnd);
    restFrom = valueEnd;
  }
  restBegin_ += restFrom;
  if (continued) {
    while (restBegin_ < restEnd_ && spi::IsSpace(restLine_[restBegin_])) ++restBegin_;
    if (restEnd_ - restBegin_ == 1 && restLine_[restBegin_] == '\\') return ContinueOnNextLine();
  }
  return 0;
}

int CSpiFile::ContinueOnNextLine() {
  ++lineNumber;
  restLine_ = {};
  restBegin_ = restEnd_ = 0;
  if (!NextLine(restLine_))
    return Broken() ? -1 : Fail("SPI_ERROR: Failed to read line %d in \"%s\"");
  restEnd_ = restLine_.size();
  return 0;
}

int CSpiFile::SkipValues() {
  // ReadValue's steps without the values: the same cuts, the same continuation lines and the
  // same failures, in one loop over the line.
  const char* line = restLine_.data();
  std::size_t at = restBegin_;
  std::size_t end = restEnd_;
  while (end > at && spi::IsSpace(line[end - 1])) --end;
  while (true) {
    while (at < end && spi::IsSpace(line[at])) ++at;
    if (at >= end) break;
    const std::string_view rest(line + at, end - at);
    const bool continued = rest.back() == '\\';
    if (rest.front() == '\'' || rest.front() == '"') {
      const std::size_t close = FindByte(rest, rest.front(), 1);
      if (close == std::string_view::npos) {
        restBegin_ = at;
        restEnd_ = end;
        Close();
        return Fail("SPI_ERROR: Missing closing quote at line %d in \"%s\"");
      }
      at += close + 1;
    } else {
      const std::size_t blank = FindByte(rest, ' ');
      at += blank != std::string_view::npos ? blank : rest.size() - (continued ? 1 : 0);
    }
    if (!continued) continue;
    while (at < end && spi::IsSpace(line[at])) ++at;
    if (end - at == 1 && line[at] == '\\') {
      if (ContinueOnNextLine() != 0) return -1;
      line = restLine_.data();
      at = 0;
      end = restEnd_;
      while (end > at && spi::IsSpace(line[end - 1])) --end;
    }
  }
  restBegin_ = restEnd_ = at;
  return 0;
}

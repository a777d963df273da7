// Writing a generated file in a folder others may share: the content goes to a new file of
// our own beside the target (created exclusively, never through a link), which then replaces
// the target by rename. A link or a FIFO planted where the target should be is replaced, never
// followed or opened, a reader never sees half a file, and a failed write (a full disk) leaves
// the target as it was and no temporary file behind. Reading takes regular files only, of a
// bounded size, and never blocks on a FIFO. Failures are told as "cannot write PATH: reason"
// with the system's reason. Standard C++ and POSIX; any thread.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>

// True when path holds content afterwards; on failure path is as it was, no temporary file is
// left behind and error (when given) says why, naming path.
bool ReplaceFileContent(const std::string& path, std::string_view content,
                        std::string* error = nullptr);

// The same for content that produce writes to the stream it is given: the bytes go to the
// new file as they are made (through a small buffer), so a large output is never held whole
// in memory. The target is replaced only when every byte was written.
bool ReplaceFileFromStream(const std::string& path,
                           const std::function<void(std::ostream&)>& produce,
                           std::string* error = nullptr);

// The content of path when it is a regular file with one name (not a link, never a FIFO) of
// at most limit bytes; false otherwise.
bool ReadSingleNameFile(const std::string& path, std::string& content, std::size_t limit);

// True when path is a regular file with one name (not a link, never a FIFO) that holds exactly
// content: a writer may then leave it as it is.
bool FileHolds(const std::string& path, std::string_view content);

// The most ReadRegularFile takes unless told otherwise.
inline constexpr std::size_t kReadLimitBytes = std::size_t{256} << 20;

// The content of a regular file (through links), or false with error (when given) saying why:
// the file is missing, is not a regular file (a FIFO, a device, a folder) or is larger than
// limit bytes.
bool ReadRegularFile(const std::string& path, std::string& content, std::string* error = nullptr,
                     std::size_t limit = kReadLimitBytes);

// A regular file (through links, never blocking on a FIFO) read a piece at a time, for a parser
// that pulls characters one by one: the file is never held whole, and reading stops at limit
// bytes (Error() then says so). Not copyable; one reader at a time.
class RegularFileChars {
 public:
  RegularFileChars(const std::string& path, std::size_t limit);
  ~RegularFileChars();
  RegularFileChars(const RegularFileChars&) = delete;
  RegularFileChars& operator=(const RegularFileChars&) = delete;

  // "" while the file reads well; else "cannot read PATH: reason" (missing, not a regular
  // file, larger than the limit, a read error).
  const std::string& Error() const { return error_; }

  // An input iterator over the bytes; the end is reached at the end of the file or an error.
  class Iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;
    Iterator() = default;
    explicit Iterator(RegularFileChars* source) : source_(source) {}
    reference operator*() const { return source_->buffer_[source_->next_]; }
    Iterator& operator++() {
      ++source_->next_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const Iterator& other) const { return AtEnd() == other.AtEnd(); }

   private:
    bool AtEnd() const { return source_ == nullptr || !source_->Fill(); }
    RegularFileChars* source_ = nullptr;
  };
  Iterator begin() { return Iterator(this); }
  Iterator end() { return Iterator(); }

 private:
  bool Fill();  // true when a byte is there to take

  std::string path_;
  std::size_t limit_;
  int fd_ = -1;
  std::size_t read_ = 0;  // bytes read so far
  std::size_t next_ = 0;
  std::size_t size_ = 0;  // bytes in buffer_
  std::string error_;
  std::array<char, 65536> buffer_{};
};

// Copies the bytes of the regular file source (through links) to target as ReplaceFileContent
// writes: false with error (when given) when source is not a regular file or target cannot be
// written.
bool CopyRegularFile(const std::string& source, const std::string& target,
                     std::string* error = nullptr);

// The line file: a project file opened for shared reading, read line by line, with the state
// the section reader needs. The whole file is read at once into an arena (the model's, given
// by ReadInto, else one of its own), so that names and values are views into its bytes; a read
// that keeps little of a large file streams it instead (Stream). Holds a shared advisory lock
// (flock) while open, so that a Save in another process fails instead of replacing the file
// under a reader. One thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "projectfile/SpiArena.h"
#include "projectfile/SpiFileFingerprint.h"

class CSpiFile {
 public:
  CSpiFile() = default;
  ~CSpiFile();
  CSpiFile(const CSpiFile&) = delete;
  CSpiFile& operator=(const CSpiFile&) = delete;

  // Opens path for reading under a shared lock. 0 on success, else a failure cause number
  // (SpiFailureCause.h). A file held exclusively by a saving process is waited for briefly.
  // Only regular files are read (a FIFO, a device or a directory is refused, never waited on).
  int Open(const std::string& path);
  // Reads bytes kept from an earlier read of the file at fullPath (in the arena that ReadInto
  // gives) instead of an open file: a second pass over a file read before.
  void ReadFrom(std::string_view bytes, const std::string& fullPath);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  // The arena that receives the file's bytes and the names read (upper-cased lone words);
  // views given out stay valid as long as it. Before the first read.
  void ReadInto(SpiArena& arena) { arena_ = &arena; }
  // Reads the file a piece at a time through a buffer of its own instead of whole into the
  // arena, so that a large file costs no memory of its size: lines (and the names and values
  // cut from them) are views into that buffer, valid until the next line is read, unless
  // KeepLine copied them into the arena. Keeps no bytes for Fingerprint. After Open, before
  // the first read.
  void Stream() { streaming_ = true; }
  // Copies the current directive line into the arena, and the continuation lines its values
  // go on to read, so that the directive's name and values stay valid; name moves along when
  // it lies in the line. Nothing to do unless streaming.
  void KeepLine(std::string_view& name);

  // One line without its line end (and without a carriage return before it). False at the end
  // of the file. A last line without a line end is still delivered.
  bool ReadLine(std::string& line);

  // Section header: 0 read (name, isControl set), 1 clean end of file, -1 format error.
  int ReadProgramHeader(std::string& name, int& isControl);
  // Directive line: 0 read (name set, rest holds the remainder), 5 the section's end line,
  // -1 error. The name is a view into the arena.
  int ReadDirectiveName(std::string_view& name);
  // Next value of the rest: 0 read, 4 no more values, -1 error. Sets doubleQuoted to 1 when
  // the value was between double quotes. The value is a view into the arena.
  int ReadValue(std::string_view& value, std::int8_t& doubleQuoted);
  // Passes over the rest's values as ReadValue would read them, to the end of the directive
  // (continuation lines included): 0, or -1 with ReadValue's failure.
  int SkipValues();
  // Reads the whole file now (after ReadInto) and gives its bytes, so that a caller can look
  // at them before the sections are read; empty when there is nothing to read. A read error
  // is said (as the last message) again by the first ReadProgramHeader.
  std::string_view Load();
  // The first word of the next line as it stands (no quotes or case handled): a guess at the
  // next directive's name, for preparing its lookup. Empty when unknown.
  std::string_view PeekWord() const;
  // Bytes of the file read so far and its size when it was read (0 before).
  std::size_t BytesConsumed() const { return chunkOffset_ + begin_; }
  std::size_t BytesRead() const { return streaming_ ? expectedSize_ : end_; }

  const std::string& FullPath() const { return fullPath_; }
  // The file as opened, with every byte read so far (all of it once the reading reached the
  // end), for a save to tell whether the file changed since. The bytes are those kept in the
  // arena, hashed only when a save compares (SpiFileFingerprint::HashContent), so that a
  // read nobody saves after never pays the hash.
  SpiFileFingerprint Fingerprint() const;

  // The longest physical line read; a longer one fails the read with a message naming it.
  static constexpr std::size_t kMaxLineLength = std::size_t{64} << 20;

  // The part of the current directive line not yet consumed.
  std::string_view Rest() const { return {restLine_.data() + restBegin_, restEnd_ - restBegin_}; }
  std::string endLine;      // the line that closes the current section
  std::string programName;  // the current section's program
  int lineNumber = 0;       // physical lines read so far

 private:
  // Reads the whole file into the arena (once). False when there is nothing to read.
  bool FillBuffer();
  // The next line as a view into the file's bytes. False at the end of the file.
  bool NextLine(std::string_view& line);
  // Where the next physical line starts and how long it is (without its line end), from the
  // whole file or from the streamed pieces. False at the end of the file.
  bool NextWholeFileLine(const char*& start, std::size_t& length);
  bool NextStreamedLine(const char*& start, std::size_t& length);
  // Streaming: moves the unread bytes to the front of the buffer and reads more after them.
  // False after a read error.
  bool ReadMore();
  int Fail(const char* format);
  // After a value that ends its line with a backslash: the next physical line becomes the
  // rest. 0, or -1 at the end of the file or after a read error.
  int ContinueOnNextLine();
  // After a line too long or a read error: the message is set and reading stops.
  bool Broken() const { return broken_; }
  void Break(const std::string& message);

  // The rest is kept as a window into restLine_ (the current line), so that cutting values off
  // a long line stays linear.
  std::string_view restLine_;
  std::size_t restBegin_ = 0;
  std::size_t restEnd_ = 0;

  int fd_ = -1;
  std::string fullPath_;
  SpiArena ownArena_;
  SpiArena* arena_ = &ownArena_;
  const char* buffer_ = nullptr;  // the file's bytes, in the arena
  std::string upper_;             // a lone word in upper case, compared with the end line
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool broken_ = false;
  std::string breakMessage_;        // what Break said
  std::size_t linesDelivered_ = 0;  // physical lines, for messages of the line cap
  SpiFileFingerprint fingerprint_;
  std::string_view bytes_;  // every byte read, in the arena (kept after Close)
  // Streaming: the buffer (buffer_ points into it), the file offset of its first byte, the
  // size the file had when opened, and whether delivered lines are copied into the arena.
  bool streaming_ = false;
  std::unique_ptr<char[]> chunk_;
  std::size_t chunkSize_ = 0;
  std::size_t chunkOffset_ = 0;
  std::size_t expectedSize_ = 0;
  bool keep_ = false;
};

// Failure causes of file operations and their texts (messages carry the text after the path).
#pragma once

enum SpiFailureCause : int {
  SPI_CAUSE_NONE = 0,
  SPI_CAUSE_GENERIC = 1,
  SPI_CAUSE_FILE_NOT_FOUND = 2,
  SPI_CAUSE_BAD_PATH = 3,
  SPI_CAUSE_TOO_MANY_OPEN_FILES = 4,
  SPI_CAUSE_ACCESS_DENIED = 5,
  SPI_CAUSE_INVALID_FILE = 6,
  SPI_CAUSE_REMOVE_CURRENT_DIR = 7,
  SPI_CAUSE_DIRECTORY_FULL = 8,
  SPI_CAUSE_BAD_SEEK = 9,
  SPI_CAUSE_HARD_IO = 10,
  SPI_CAUSE_SHARING_VIOLATION = 11,
  SPI_CAUSE_LOCK_VIOLATION = 12,
  SPI_CAUSE_DISK_FULL = 13,
  SPI_CAUSE_END_OF_FILE = 14,
  // Causes of this library's own checks, beyond the platform's table.
  SPI_CAUSE_IS_DIRECTORY = 20,
  SPI_CAUSE_IS_FIFO = 21,
  SPI_CAUSE_IS_DEVICE = 22,
  SPI_CAUSE_IS_SOCKET = 23,
  SPI_CAUSE_CHANGED_SINCE_READ = 24,
  SPI_CAUSE_READ_ONLY = 25,
  SPI_CAUSE_HARD_LINKED = 26,
};

// The text of a cause ("Unknown error occurred." for other numbers).
const char* SpiCauseText(int cause);

// The cause that best describes a platform error number (errno).
int SpiCauseFromErrno(int error);

// SPI_CAUSE_NONE for a regular file, else the cause that names what the file type is.
int SpiCauseForFileType(unsigned mode);

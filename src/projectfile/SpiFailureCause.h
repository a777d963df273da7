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
};

// The text of a cause ("Unknown error occurred." for other numbers).
const char* SpiCauseText(int cause);

// The cause that best describes a platform error number (errno).
int SpiCauseFromErrno(int error);

#include "projectfile/SpiFailureCause.h"

#include <sys/stat.h>

#include <cerrno>

const char* SpiCauseText(int cause) {
  static const char* const kTexts[] = {
      "No error occurred.",
      "An unspecified error occurred.",
      "The file could not be located.",
      "All or part of the path is invalid.",
      "The permitted number of open files was exceeded.",
      "The file could not be accessed.",
      "There was an attempt to use an invalid file handle.",
      "The current working directory cannot be removed.",
      "There are no more directory entries.",
      "There was an error trying to set the file pointer.",
      "There was a hardware error.",
      "SHARE.EXE was not loaded, or a shared region was locked.",
      "There was an attempt to lock a region that was already locked.",
      "The disk is full.",
      "The end of file was reached.",
  };
  // None of these texts may contain "lock": a save's message gets the note about another
  // running tool only for the sharing and lock causes.
  static const char* const kOwnTexts[] = {
      "The path names a directory, not a regular file.",
      "The path names a FIFO (named pipe), not a regular file; it is not read or written.",
      "The path names a device, not a regular file; it is not read or written.",
      "The path names a socket, not a regular file.",
      "The file was changed by another program after it was read. Nothing was written, so "
      "that change is kept; open the project again and repeat your change.",
      "The file is read-only: its owner has no write permission for it. Nothing was written.",
      "The file has more than one hard link, and saving would leave the other names with the "
      "old contents. Nothing was written; to save it, make it a file of its own first (copy it "
      "and move the copy over it).",
  };
  constexpr int kOwnCount = static_cast<int>(sizeof kOwnTexts / sizeof kOwnTexts[0]);
  if (cause >= SPI_CAUSE_IS_DIRECTORY && cause < SPI_CAUSE_IS_DIRECTORY + kOwnCount)
    return kOwnTexts[cause - SPI_CAUSE_IS_DIRECTORY];
  if (cause < 0 || cause >= static_cast<int>(sizeof kTexts / sizeof kTexts[0]))
    return "Unknown error occurred.";
  return kTexts[cause];
}

int SpiCauseFromErrno(int error) {
  switch (error) {
    case 0:
      return SPI_CAUSE_NONE;
    case ENOENT:
      return SPI_CAUSE_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
      return SPI_CAUSE_BAD_PATH;
    case EMFILE:
    case ENFILE:
      return SPI_CAUSE_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
      return SPI_CAUSE_ACCESS_DENIED;
    case EBADF:
      return SPI_CAUSE_INVALID_FILE;
    case ESPIPE:
      return SPI_CAUSE_BAD_SEEK;
    case EIO:
      return SPI_CAUSE_HARD_IO;
    case EWOULDBLOCK:
      return SPI_CAUSE_SHARING_VIOLATION;
    case ENOLCK:
      return SPI_CAUSE_LOCK_VIOLATION;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return SPI_CAUSE_DISK_FULL;
    default:
      return SPI_CAUSE_GENERIC;
  }
}

int SpiCauseForFileType(unsigned mode) {
  if (S_ISREG(mode)) return SPI_CAUSE_NONE;
  if (S_ISDIR(mode)) return SPI_CAUSE_IS_DIRECTORY;
  if (S_ISFIFO(mode)) return SPI_CAUSE_IS_FIFO;
  if (S_ISSOCK(mode)) return SPI_CAUSE_IS_SOCKET;
  return SPI_CAUSE_IS_DEVICE;
}

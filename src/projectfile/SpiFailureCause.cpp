#include "projectfile/SpiFailureCause.h"

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

// Replacing a project file so that readers see the old file or the new one, never a mix, and a
// failure leaves the old file byte for byte: exclusive non-blocking lock on the file, a new
// file written unnamed in the same folder (or under a temporary name where the file system
// cannot do that), fsync, rename over the file, fsync of the folder.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "projectfile/SpiFileFingerprint.h"

// Steps at which a test can make the next replacement fail (as a full disk or a failing
// device would). Process-wide and one-shot: the fault is cleared when it fires. kLink fails
// giving the unnamed file its name, so that the named fallback is taken.
enum class SpiWriteFault { kNone, kCreate, kWrite, kSync, kRename, kLink };
void SpiInjectWriteFault(SpiWriteFault fault);

// Replaces the file at path (the target of a symbolic link, which stays a link) with the text
// that compose returns; compose gets the new file's modification time when it can be read.
// Permissions of an existing file are kept. Only a regular file is replaced; one its owner
// made read-only, or one with other hard links, is refused. When expected is known, the file
// must still be the one that was read (same identity and content), else nothing is written
// (SPI_CAUSE_CHANGED_SINCE_READ). written, when given, receives the new file's fingerprint.
// Temporary files that killed saves of this file left behind are removed. 0 on success, else a
// failure cause number (SPI_CAUSE_SHARING_VIOLATION when another process holds a lock on the
// file). Not durable: the same replacement (readers still see the old file or the new one)
// without the two flushes to the device, for a scratch file that nobody keeps.
int SpiReplaceFile(const std::string& path,
                   const std::function<std::string(std::optional<std::time_t>)>& compose,
                   const SpiFileFingerprint* expected = nullptr,
                   SpiFileFingerprint* written = nullptr, bool durable = true);

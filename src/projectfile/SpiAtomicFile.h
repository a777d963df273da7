// Replacing a project file so that readers see the old file or the new one, never a mix, and a
// failure leaves the old file byte for byte: exclusive non-blocking lock on the file, a
// temporary file in the same folder, fsync, rename over the file, fsync of the folder.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

// Steps at which a test can make the next replacement fail (as a full disk or a failing
// device would). Process-wide and one-shot: the fault is cleared when it fires.
enum class SpiWriteFault { kNone, kCreate, kWrite, kSync, kRename };
void SpiInjectWriteFault(SpiWriteFault fault);

// Replaces the file at path (the target of a symbolic link, which stays a link) with the text
// that compose returns; compose gets the new file's modification time when it can be read.
// Permissions of an existing file are kept. 0 on success, else a failure cause number
// (SPI_CAUSE_SHARING_VIOLATION when another process holds a lock on the file).
int SpiReplaceFile(const std::string& path,
                   const std::function<std::string(std::optional<std::time_t>)>& compose);

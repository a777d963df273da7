// The process-wide text of the project-file library's most recent failure or note.
// Not thread safe: the library is used from one thread (the host's UI thread or a tool's main).
#pragma once

#include <string>

// The last message ("" before the first one). The reference stays valid until the next call
// of SpiSetLastMessage.
const std::string& SpiLastMessage();

// Replaces the last message.
void SpiSetLastMessage(std::string message);

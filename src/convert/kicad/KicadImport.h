// `kestra import kicad`: KiCad symbol and footprint libraries into the project's libraries and
// footprint folders (docs/real-libraries.md). Files are converted by -j workers into a new
// folder that becomes the project's "kicad" folder only when all is done, so an interrupted
// or failed import leaves the project as it was. Problems go to err as "FILE:LINE: message";
// the rest goes on. Exit status 0 imported, 1 failed (nothing changed), 2 bad words or
// refused (an earlier import without -replace, a library name the project already has),
// 128+signal when stopped. Standard C++ only; the main thread.
#pragma once

#include <ostream>
#include <string>
#include <vector>

int RunKicadImport(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

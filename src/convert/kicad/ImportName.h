// The reversible rule by which a KiCad name (of a library, symbol, footprint, pin or pad)
// becomes a name our formats and the file system can hold: every byte that a view file, a
// list file, a project-file value or a folder name cannot hold as it stands becomes "%" and
// two upper-case hexadecimal digits. Those bytes are "%" itself, control characters, blanks,
// the quotes '"' and "'", "#", "/" and "\", and a "." at the start (a hidden folder); an empty
// name becomes "%". Everything else, non-ASCII UTF-8 included, stays. DecodeImportName undoes
// it. Standard C++ only.
#pragma once

#include <string>
#include <string_view>

std::string EncodeImportName(std::string_view name);
// The KiCad name an encoded name stands for.
std::string DecodeImportName(std::string_view encoded);

// A property value for a view file: the value in double quotes, with '"', "%" and control
// characters written as "%XX" so that the value reads back whole. Lines of a multi-line
// value are kept as "%0A".
std::string QuotedImportValue(std::string_view value);

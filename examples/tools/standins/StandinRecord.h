// What every stand-in tool does first: says what it was asked ("<tool>: started with
// [words]") and, when KESTRA_STANDIN_LOG names a file, appends {"tool", "arguments",
// "directory"} there as one JSON line.
#pragma once

void RecordStandinStart(const char* tool, int argc, char** argv);

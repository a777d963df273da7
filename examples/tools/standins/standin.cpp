// A stand-in for one of the suite's tools: prints "<tool>: started with [words]" and, when
// KESTRA_STANDIN_LOG names a file, appends {"tool", "arguments", "directory"} there.
#include "StandinRecord.h"

int main(int argc, char** argv) {
  RecordStandinStart(KESTRA_STANDIN_NAME, argc, argv);
  return 0;
}

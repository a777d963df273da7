#include "projectfile/SpiReader.h"

#include <string>
#include <vector>

#include "projectfile/CSpiFile.h"
#include "projectfile/CSpiProgramList.h"

namespace {

// Reads one directive line's values into the level's values or control words. 0 or -1.
// scratch collects the line's values, so that the list grows once to its exact size.
int ReadDirectiveValues(CSpiDirective& directive, CSpiFile& file, int level, int isControl,
                        const SpiReadPolicy& policy, std::vector<std::string>& scratch) {
  CSpiValueList* list;
  if (isControl) {
    directive.controlPresent[level] = true;
    list = &directive.controls[level];
  } else {
    if (!policy.honoured || policy.honoured(directive, level))
      directive.winningLevel = level;
    else if (policy.refused)
      policy.refused(file.programName, directive, level);
    // Refused values are stored all the same: the log explains them and Save writes them back.
    if (level == 2) directive.projectSet = true;
    if (level == 3) directive.userSet = true;
    list = &directive.values[level];
  }
  list->Clear();
  scratch.clear();
  std::string value;
  int result;
  while ((result = file.ReadValue(value, directive.doubleQuoted)) == 0)
    scratch.push_back(std::move(value));
  // Values read before a failure stay, as the rest of what was read does.
  list->AppendAll(scratch);
  list->Rewind();
  return result == -1 ? -1 : 0;
}

}  // namespace

int SpiReadFile(CSpiProgramList& programs, CSpiFile& file, int level, const SpiReadPolicy& policy) {
  std::string programName;
  std::string directiveName;
  std::vector<std::string> scratch;
  int isControl = 0;
  while (true) {
    const int header = file.ReadProgramHeader(programName, isControl);
    if (header == 1) return 0;
    if (header != 0) return -1;
    CSpiProgram& program = programs.FindOrAppend(programName, level);
    // Any end of the section other than a failed value read lets reading go on with the next
    // header: a missing end line or an unterminated quoted name leaves only its message.
    while (file.ReadDirectiveName(directiveName) == 0) {
      CSpiDirective& directive = program.FindOrAppendDirective(directiveName, level);
      if (ReadDirectiveValues(directive, file, level, isControl, policy, scratch) != 0) return -1;
    }
  }
}

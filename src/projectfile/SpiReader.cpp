#include "projectfile/SpiReader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "projectfile/CSpiFile.h"
#include "projectfile/CSpiProgram.h"
#include "projectfile/CSpiProgramList.h"
#include "projectfile/SpiNameIndex.h"

namespace {

// After this many directives of one section its program's index is sized from the file: the
// directives still to come are estimated from the bytes still to read.
constexpr std::size_t kEstimateAfter = 4096;

// Reads one directive line's values into the level's values or control words. 0 or -1.
// scratch collects the line's values (views into the file's bytes), so that the list is
// built once at its exact size.
int ReadDirectiveValues(CSpiDirective& directive, CSpiFile& file, int level, int isControl,
                        const SpiReadPolicy& policy, std::vector<std::string_view>& scratch,
                        SpiArena& arena) {
  CSpiValueList* list;
  if (isControl) {
    directive.SetControlPresent(level, arena);
    list = &directive.ControlsAt(level, arena);
  } else {
    if (!policy.honoured || policy.honoured(directive, level))
      directive.winningLevel = static_cast<std::int8_t>(level);
    else if (policy.refused)
      policy.refused(file.programName, directive, level);
    // Refused values are stored all the same: the log explains them and Save writes them back.
    if (level == 2) directive.projectSet = true;
    if (level == 3) directive.userSet = true;
    list = &directive.ValuesAt(level, arena);
  }
  scratch.clear();
  std::string_view value;
  int result;
  // The view is taken apart and put together again rather than copied whole: a copy as one
  // 16-byte load of the two 8-byte halves ReadValue has just stored stalls the processor.
  while ((result = file.ReadValue(value, directive.doubleQuoted)) == 0)
    scratch.emplace_back(value.data(), value.size());
  // Values read before a failure stay, as the rest of what was read does.
  list->Assign(scratch, arena);
  list->Rewind();
  return result == -1 ? -1 : 0;
}

// Whether a read that needs only some directives keeps this one's line.
bool Kept(const CSpiProgram& program, std::string_view name, std::uint32_t hash,
          const SpiReadPolicy& policy) {
  return program.FindDirective(name, hash) || policy.wanted(program, name, hash);
}

// The program a section's directives go to; nullptr when a read that needs only some
// directives passes over the section.
CSpiProgram* KeptProgram(CSpiProgramList& programs, const std::string& name, int level,
                         const SpiReadPolicy& policy) {
  if (policy.wantedProgram) {
    if (CSpiProgram* program = programs.Find(name)) return program;
    if (!policy.wantedProgram(name)) return nullptr;
  }
  return &programs.FindOrAppend(name, level);
}

// Passes over the rest of a section, checking its lines as reading them would. 0 or -1.
int SkipSection(CSpiFile& file) {
  std::string_view name;
  while (file.ReadDirectiveName(name) == 0)
    if (file.SkipValues() != 0) return -1;
  return 0;
}

}  // namespace

int SpiReadFile(CSpiProgramList& programs, CSpiFile& file, int level, const SpiReadPolicy& policy) {
  SpiArena& arena = programs.Arena();
  file.ReadInto(arena);
  std::string programName;
  std::string_view directiveName;
  std::vector<std::string_view> scratch;
  int isControl = 0;
  while (true) {
    const int header = file.ReadProgramHeader(programName, isControl);
    if (header == 1) return 0;
    if (header != 0) return -1;
    CSpiProgram* kept = KeptProgram(programs, programName, level, policy);
    if (!kept) {
      if (SkipSection(file) != 0) return -1;
      continue;
    }
    CSpiProgram& program = *kept;
    // A section of many directives has its index sized from the rest of the file.
    std::size_t directives = 0;
    const std::size_t sectionStart = file.BytesConsumed();
    // Any end of the section other than a failed value read lets reading go on with the next
    // header: a missing end line or an unterminated quoted name leaves only its message.
    std::string_view peeked;  // the first word of the next line, when its hash is known
    std::uint32_t peekedHash = 0;
    while (file.ReadDirectiveName(directiveName) == 0) {
      // A name that is the word peeked at before (the usual unquoted name) is hashed once.
      const bool known = !peeked.empty() && peeked.data() == directiveName.data() &&
                         peeked.size() == directiveName.size();
      const std::uint32_t hash = known ? peekedHash : SpiNameIndex::Hash(directiveName);
      peeked = {};
      if (policy.wanted) {
        if (!Kept(program, directiveName, hash, policy)) {
          if (file.SkipValues() != 0) return -1;
          continue;
        }
        file.KeepLine(directiveName);  // a streamed line outlives its buffer
      }
      // Names are views into the file's bytes, which the model's arena holds: no copy.
      CSpiDirective& directive = program.FindOrAppendDirective(directiveName, hash, level, false);
      // In an index larger than the caches, the next line's lookup is prepared while this
      // line's values are read.
      if (program.LargeIndex()) {
        peeked = file.PeekWord();
        peekedHash = SpiNameIndex::Hash(peeked);
        program.PrefetchDirective(peekedHash);
      }
      if (ReadDirectiveValues(directive, file, level, isControl, policy, scratch, arena) != 0)
        return -1;
      if (++directives == kEstimateAfter && file.BytesConsumed() > sectionStart)
        CSpiProgramList::ReserveDirectives(program, directives *
                                                        (file.BytesRead() - file.BytesConsumed()) /
                                                        (file.BytesConsumed() - sectionStart));
    }
  }
}

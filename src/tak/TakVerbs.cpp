#include "tak/TakVerbs.h"

#include "projectfile/CSpiFile.h"
#include "projectfile/CSpiProject.h"
#include "projectfile/SpiAcceptance.h"
#include "projectfile/SpiFailureCause.h"
#include "projectfile/SpiLastMessage.h"
#include "projectfile/SpiLog.h"
#include "projectfile/SpiReader.h"
#include "projectfile/SpiWriter.h"
#include "tak/TakModelJson.h"

namespace {

// Reads FILE at the level of the arguments into programs. The read's result (0 or -1).
int ReadOneFile(const TakArguments& arguments, CSpiProgramList& programs) {
  const std::string& path = arguments.words.at(0);
  CSpiFile file;
  if (const int cause = file.Open(path)) {
    SpiSetLastMessage("SPI_ERROR: Failed to open project file \"" + path + "\". " +
                      SpiCauseText(cause));
    return -1;
  }
  return SpiReadFile(programs, file, arguments.level.value_or(2));
}

// Opens the project and selects PROGRAM and DIRECTIVE. 0, or the exit status of a failure.
int OpenAt(const TakArguments& arguments, CSpiProject& project, std::ostream& err) {
  // Only this directive is looked up: the rest of a large project file is not kept.
  if (project.OpenForLookup(*arguments.project, arguments.words[0], arguments.words[1]) != 0 ||
      project.FindProgram(arguments.words[0]) != 0 ||
      project.FindDirective(arguments.words[1]) != 0) {
    err << SpiLastMessage() << "\n";
    return 1;
  }
  return 0;
}

void PrintList(std::ostream& out, const CSpiValueList& list) {
  for (const std::string_view value : list.Values()) out << " \"" << value << "\"";
}

}  // namespace

int TakParse(const TakArguments& arguments, std::ostream& out, std::ostream&) {
  CSpiProgramList programs;
  SpiSetLastMessage("");
  const int result = ReadOneFile(arguments, programs);
  // Project files may hold any bytes; invalid UTF-8 is shown replaced rather than refused.
  TakWriteParseReport(out, result, SpiLastMessage(), programs);
  out << "\n";
  return result == 0 ? 0 : 1;
}

int TakFormat(const TakArguments& arguments, std::ostream& out, std::ostream& err) {
  CSpiProgramList programs;
  if (ReadOneFile(arguments, programs) != 0) {
    err << SpiLastMessage() << "\n";
    return 1;
  }
  // Written 64 KB at a time: the text of a large model is never held whole.
  std::string text = SpiFormatHeader("SPI", "{", "}", std::nullopt);
  SpiFormatLevel(programs, arguments.level.value_or(2), text, [&out](std::string& piece) {
    out << piece;
    piece.clear();
  });
  out << text;
  return 0;
}

int TakGet(const TakArguments& arguments, std::ostream& out, std::ostream& err) {
  CSpiProject project;
  if (const int failed = OpenAt(arguments, project, err)) return failed;
  project.RewindValues();
  std::string value;
  int count = 0;
  while (project.GetNextValue(value) == 0) {
    out << value << "\n";
    ++count;
  }
  if (count == 0) {
    err << arguments.words[0] << ":" << arguments.words[1] << " has no value\n";
    return 1;
  }
  return 0;
}

int TakExplain(const TakArguments& arguments, std::ostream& out, std::ostream& err) {
  CSpiProject project;
  if (const int failed = OpenAt(arguments, project, err)) return failed;
  const CSpiDirective& d = *project.CurrentDirective();
  out << project.CurrentProgram()->name << ":" << d.name << "\n";
  for (int level = 0; level < kSpiLevelCount; ++level) {
    out << "  " << level << " " << project.LevelLabel(level) << ":";
    PrintList(out, d.Values(level));
    if (d.ControlPresent(level)) {
      out << "  controls:";
      PrintList(out, d.Controls(level));
    }
    out << "\n";
  }
  out << "winning level: " << static_cast<int>(d.winningLevel) << " ("
      << project.LevelLabel(d.winningLevel) << ")\n";
  for (int level = d.winningLevel + 1; level < kSpiLevelCount; ++level) {
    const bool given = level == 2   ? d.projectSet
                       : level == 3 ? d.userSet
                                    : !d.Values(level).Empty();
    if (!given || SpiValueHonoured(d, level)) continue;
    std::string why;
    for (int below = 0; below < level && below < 3; ++below)
      if (d.Controls(below).ContainsIgnoringCase("lock"))
        why += " locked by " + project.LevelLabel(below) + ";";
    if (why.empty()) why = " the install and site files do not allow it (allow_user_tak);";
    out << "refused " << project.LevelLabel(level) << ":" << why << "\n";
  }
  out << SpiDirectiveDump(d, {project.LevelLabel(0), project.LevelLabel(1), project.LevelLabel(2),
                              project.LevelLabel(3)});
  return 0;
}

int TakSet(const TakArguments& arguments, std::ostream&, std::ostream& err) {
  // One read, change and save under one exclusive lock: a set that waited for another one
  // reads what that one saved, and no update is lost between them.
  CSpiProject project;
  const auto patience =
      arguments.waitSeconds
          ? std::chrono::milliseconds(std::chrono::seconds(*arguments.waitSeconds))
          : CSpiProject::kChangePatience;
  bool ok = project.OpenForChange(*arguments.project, patience) == 0;
  if (ok && project.FindProgram(arguments.words[0]) != 0)
    ok = project.AddProgram(arguments.words[0]) != nullptr;
  ok = ok && project.AddDirective(arguments.words[1]) == 0 && project.ClearValues() == 0;
  for (std::size_t i = 2; ok && i < arguments.words.size(); ++i)
    ok = project.AddValue(arguments.words[i]) == 0;
  if (!ok || project.Save() != 0) {
    err << SpiLastMessage() << "\n";
    return 1;
  }
  return 0;
}

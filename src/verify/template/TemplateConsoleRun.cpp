#include "verify/template/TemplateConsoleRun.h"

#include <iostream>
#include <memory>
#include <optional>

#include "base/FlowNames.h"
#include "base/HelpWord.h"
#include "libformat/LibraryTree.h"
#include "outside/Tamsin.h"
#include "verify/FlowWords.h"
#include "verify/OutputFile.h"
#include "verify/PathNames.h"
#include "verify/ProjectLibrary.h"
#include "verify/template/TemplateRun.h"

namespace {

// The options that take a value (also what `kestra verify` must not read as its own).
constexpr std::string_view kTemplateValued[] = {"-proj", "-lib", "-cell", "-template", "-aspects"};

constexpr const char* kVerifyUsage =
    "-proj FILE -lib LIB [-cell CELL] -template FILE.tpl [-aspects 1,2,4] [-ref]\n"
    "  aspects: 1 property values, 2 pin loads, 4 symbol information (default: all three)\n"
    "  without -cell every cell of LIB is checked; -ref: LIB is a reference library";
constexpr const char* kExtractUsage =
    "usage: kestra template extract -proj FILE -lib LIB -cell CELL -o FILE.tpl [-ref]\n";

// The project file's library for -ref, or no list with the reason in problem (usage: the
// library is in the other list).
ProjectLibrary FindLibrary(const std::string& projectFile, const std::string& library,
                           bool reference, std::string& problem, bool& usage) {
  usage = false;
  const std::string project = ExistingProjectFile(projectFile, problem);
  if (project.empty()) return {};
  return FindProjectLibrary(ProjectFolder(project), library, reference, problem, usage);
}

// The cells to check: the one given, else every usable cell of the library.
std::vector<std::string> CellsToCheck(LibraryTree& tree, const std::string& library,
                                      const std::string& cell) {
  if (!cell.empty()) return {cell};
  std::vector<std::string> cells;
  for (const CellEntry& entry : tree.Cells(library))
    if (entry.usable) cells.push_back(entry.name);
  return cells;
}

std::optional<AppPartCheck::CheckType> ParseAspects(const std::string& text, std::string& error) {
  AppPartCheck::CheckType aspects = 0;
  std::size_t start = 0;
  do {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma - start);
    const auto bits = ParseWholeNumber("-aspects", item, 1, 7, "aspect bits", error);
    if (!bits) return std::nullopt;
    aspects |= static_cast<AppPartCheck::CheckType>(*bits);
    start = comma == std::string::npos ? comma : comma + 1;
  } while (start != std::string::npos);
  return aspects;
}

FlowRun RunTemplateCheck(const std::vector<std::string>& words) {
  FlowRun run;
  const auto args = FlowWords::Parse(words, {"-ref"}, kTemplateValued,
                                     {"-proj", "-lib", "-template"}, run.usageError);
  if (!args) return run;
  AppPartCheck::CheckType aspects = AppPartCheck::AllAspects;
  if (args->Has("-aspects")) {
    const auto parsed = ParseAspects(args->Value("-aspects"), run.usageError);
    if (!parsed) return run;
    aspects = *parsed;
  }
  const std::string library = args->Value("-lib"), cell = args->Value("-cell");
  std::string problem;
  bool usage = false;
  const ProjectLibrary found =
      FindLibrary(args->Value("-proj"), library, args->Has("-ref"), problem, usage);
  const std::string& list = found.list;
  if (list.empty()) {
    if (usage)
      run.usageError = problem;
    else
      run.results.push_back(NotRunResult(FlowResult(kTemplateFlow, library, cell), problem));
    return run;
  }
  TemplateRequest request;
  request.libraryList = list;
  request.library = library;
  request.cell = cell;
  request.cells = CellsToCheck(*found.tree, library, cell);
  request.templateFile = args->Value("-template");
  request.aspects = aspects;
  TemplateProgress progress;
  progress.say = [](const std::string& line) { std::cerr << line << "\n"; };
  run.results = RunTemplate(request, progress);
  return run;
}

int Extract(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto args = FlowWords::Parse(words, {"-ref"}, {"-proj", "-lib", "-cell", "-o"},
                                     {"-proj", "-lib", "-cell", "-o"}, error);
  if (!args) {
    err << "kestra template extract: " << error << "\n" << kExtractUsage;
    return 2;
  }
  const std::string library = args->Value("-lib"), cell = args->Value("-cell");
  bool usage = false;
  const ProjectLibrary found =
      FindLibrary(args->Value("-proj"), library, args->Has("-ref"), error, usage);
  const std::string& list = found.list;
  if (!list.empty()) error = MissingPartProblem(*found.tree, library, cell);
  if (!list.empty() && error.empty()) error = PrepareOutputFile(args->Value("-o"));
  if (list.empty() || !error.empty()) {
    err << "kestra template extract: " << error << "\n";
    return 2;
  }
  try {
    BMesgList notes;
    AppTemplateExtract extract;
    extract.setErrorList(&notes);
    extract.loadPart(list, library, cell);
    extract.runExtract();
    extract.saveAs(args->Value("-o"));
    for (const BMesgText& note : notes.getMessages())
      err << "template: note: " << note.getText() << "\n";
    out << extract.getTemplate()->toString();
    err << "template: extracted " << library << "/" << cell << " into " << args->Value("-o")
        << "\n";

    // How far the part departs from its own template: values that most of its pins or
    // physical parts do not share.
    BMesgList differences;
    AppPartCheck check;
    check.setErrorList(&differences);
    check.setTemplate(*extract.getTemplate());
    check.loadPart(list, library, cell);
    if (const int count = check.runChecks(AppPartCheck::AllAspects); count > 0) {
      err << "template: the values extracted into the template are not \"standardized\": the part "
             "differs from it in "
          << count << (count == 1 ? " place" : " places") << "\n";
      for (const BMesgText& difference : differences.getMessages())
        err << "  " << difference.getText() << "\n";
    }
  } catch (const BException& problem) {
    // No template came of it: the run could not be made, like a missing part.
    err << "kestra template extract: " << problem.getExceptionInfo() << "\n";
    return 2;
  }
  return 0;
}

// Every part against the run's template, on all three aspects; without one the check has
// nothing to compare with.
PartWords TemplatePartWords(const PartRequest& part) {
  if (part.templateFile.empty()) return NotApplicable("no template given");
  std::vector<std::string> words = {"-proj", part.project, "-lib",      part.library,
                                    "-cell", part.cell,    "-template", part.templateFile};
  if (part.reference) words.push_back("-ref");
  return RunWith(std::move(words), {part.templateFile});
}

}  // namespace

VerifyFlow TemplateVerifyFlow() {
  return {kTemplateFlow,     "a library's parts (or one of them) against a part template",
          kVerifyUsage,      RunTemplateCheck,
          TemplatePartWords, kTemplateValued};
}

int TemplateCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  if (words.size() == 1 && IsHelpWord(words[0])) {
    out << kExtractUsage;
    return 0;
  }
  if (words.empty() || words[0] != "extract") {
    err << "kestra template: expected extract\n" << kExtractUsage;
    return 2;
  }
  const std::vector<std::string> rest(words.begin() + 1, words.end());
  if (rest.size() == 1 && IsHelpWord(rest[0])) {
    out << kExtractUsage;
    return 0;
  }
  return Extract(rest, out, err);
}

// How `kestra verify all` asks a flow about one part: what it knows of the part and of the
// run, and the flow's answer, the words of a `kestra verify FLOW` run on that part or the
// reason the flow does not apply to it. Standard C++ only; value types (but for the plan's
// shared values a request points to), one plan on one thread.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

struct PartRequest {
  std::string project;           // the project file, absolute
  std::string library;           // as qvd.lib names it
  std::string libraryDirectory;  // absolute
  std::string cell;
  std::string cellDirectory;       // absolute
  std::vector<std::string> views;  // the cell's view directories, by name
  std::string templateFile;        // the run's -template, "" when none was given
  std::string modelsDirectory;     // the run's -models, "" when none was given
  bool reference = false;          // the library is a reference library (refqvd.lib)
  // What a flow reads from the project once for all the parts of a plan (the project files'
  // settings), under a name of the flow's choosing; owned by the plan, null outside one.
  std::map<std::string, std::vector<std::string>>* planValues = nullptr;
};

struct PartWords {
  std::vector<std::string> words;  // the flow's words, without -json
  std::string notRun;              // why the flow does not apply to the part ("" when it does)
  // Files (or folders, taken whole) besides the part's own and the project's whose content
  // decides the verdict: a template, a models folder. A change in them re-checks the part.
  std::vector<std::string> inputs;
};

// words of a flow that applies to the part.
inline PartWords RunWith(std::vector<std::string> words, std::vector<std::string> inputs = {}) {
  PartWords part;
  part.words = std::move(words);
  part.inputs = std::move(inputs);
  return part;
}

// The reason a flow that has no -ref gives for a part of a reference library.
inline std::string NoReferenceRun(const std::string& flow) {
  return "kestra verify " + flow + " does not check reference libraries (it has no -ref)";
}

// A flow that does not apply to the part, and why ("no template given").
inline PartWords NotApplicable(std::string reason) {
  PartWords part;
  part.notRun = std::move(reason);
  return part;
}

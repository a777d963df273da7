#include "verify/all/jobs/PartJobs.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "libformat/LibraryTree.h"
#include "projectfile/SpiExpandVariables.h"
#include "verify/all/history/ContentHash.h"

namespace fs = std::filesystem;

namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// What every part's verdict depends on besides its own files: the project file and the
// library list (where the libraries are and which settings the tools get).
std::string ProjectHash(const std::string& project, const std::string& listFile) {
  ContentHash hash;
  hash.AddPath(project);
  hash.AddPath(listFile);
  return hash.Hex();
}

// A job's word as its hash takes it: the project's folder named by a marker wherever it
// appears, so that the hash does not depend on where the project lies (a moved or copied
// project reuses its verdicts). Paths outside the project (installed files) stay as they are.
std::string WordInProject(const std::string& word, const std::string& folder) {
  if (folder.size() < 2) return word;  // a project right in "/" has no folder to name
  std::string hashed;
  std::size_t from = 0;
  for (std::size_t at = word.find(folder); at != std::string::npos;
       at = word.find(folder, at + 1)) {
    const std::size_t after = at + folder.size();
    if (at < from || (after < word.size() && word[after] != '/')) continue;
    hashed.append(word, from, at - from).append("<project>");
    from = after;
  }
  return hashed.append(word, from);
}

}  // namespace

std::string PartKey(const std::string& library, const std::string& cell) {
  return HexHashOf(library + std::string(1, '\0') + cell);
}

JobPlan PlanPartJobs(const VerifyAllRequest& request, std::span<const VerifyFlow> flows) {
  JobPlan plan;
  for (const std::string& name : request.flows) {
    const auto flow = std::find_if(flows.begin(), flows.end(),
                                   [&](const VerifyFlow& f) { return name == f.name; });
    if (flow == flows.end()) {
      plan.error = "unknown flow " + name;
      return plan;
    }
    if (flow->partWords == nullptr) {
      plan.error = "the flow " + name + " does not check parts";
      return plan;
    }
  }
  std::vector<const VerifyFlow*> columns;
  for (const VerifyFlow& flow : flows) {
    if (flow.partWords == nullptr) continue;
    if (!request.flows.empty() && !Contains(request.flows, flow.name)) continue;
    columns.push_back(&flow);
    plan.flows.emplace_back(flow.name);
  }
  const std::string listFile =
      (fs::path(request.project).parent_path() / (request.reference ? "refqvd.lib" : "qvd.lib"))
          .string();
  LibraryTree tree(listFile, SpiExpandVariables);
  const std::string projectHash = ProjectHash(request.project, listFile);
  const std::string projectFolder = fs::path(request.project).parent_path().string();
  // A flow's inputs (a template, a models folder) are the same for many parts: each is read
  // once per plan, not once per part.
  std::map<std::string, std::string> inputHashes;
  const auto inputHash = [&](const std::string& input) -> const std::string& {
    auto [at, added] = inputHashes.try_emplace(input);
    if (added) {
      ContentHash hash;
      hash.AddPath(input);
      at->second = hash.Hex();
    }
    return at->second;
  };
  // What the flows read from the project once for all parts (PartRequest::planValues).
  std::map<std::string, std::vector<std::string>> planValues;
  // No library named: every library of the list, once each, as far as its folder exists.
  std::vector<std::string> libraries = request.libraries;
  if (libraries.empty()) {
    for (const LibraryEntry& entry : tree.Libraries()) {
      if (entry.directoryExists && !Contains(libraries, entry.name))
        libraries.push_back(entry.name);
    }
  }
  plan.libraries = libraries;
  std::vector<std::string> found;  // the parts found, to tell a misspelt -cell
  for (const std::string& library : libraries) {
    const LibraryEntry* entry = tree.FindLibrary(library);
    if (entry == nullptr || !entry->directoryExists) {
      plan.error = "no library " + library + " in " + listFile;
      return plan;
    }
    std::vector<std::string> cells;
    for (const CellEntry& cell : tree.Cells(library)) {
      if (cell.usable && (request.cells.empty() || Contains(request.cells, cell.name)))
        cells.push_back(cell.name);
    }
    found.insert(found.end(), cells.begin(), cells.end());
    for (const std::string& cell : cells) {
      PartRequest part;
      part.project = request.project;
      part.library = library;
      part.libraryDirectory = entry->directory;
      part.cell = cell;
      part.cellDirectory = entry->directory + "/" + cell;
      part.views = tree.Views(library, cell);
      const auto own = request.libraryTemplates.find(library);
      part.templateFile =
          own != request.libraryTemplates.end() ? own->second : request.templateFile;
      part.modelsDirectory = request.modelsDirectory;
      part.reference = request.reference;
      part.planValues = &planValues;
      ContentHash partFiles;
      partFiles.AddPath(part.cellDirectory);
      for (const VerifyFlow* flow : columns) {
        PartWords words = flow->partWords(part);
        PartJob job{library,
                    cell,
                    flow->name,
                    std::move(words.words),
                    std::move(words.notRun),
                    "",
                    PartKey(library, cell)};
        ContentHash hash;
        hash.AddText(projectHash);
        hash.AddText(partFiles.Hex());
        for (const std::string& word : job.words) hash.AddText(WordInProject(word, projectFolder));
        hash.AddText(job.notRun);
        for (const std::string& input : words.inputs) hash.AddText(inputHash(input));
        job.hash = hash.Hex();
        plan.jobs.push_back(std::move(job));
      }
    }
  }
  for (const std::string& wanted : request.cells) {
    if (!Contains(found, wanted)) {
      plan.error = "no part " + wanted + " in the libraries checked";
      plan.jobs.clear();
      return plan;
    }
  }
  return plan;
}

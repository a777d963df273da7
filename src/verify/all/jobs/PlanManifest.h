// What a job list promises: written beside the list as FILE.d/plan.json, it names the project
// and the list (with an identity of its own, new each time the list is written) and, for each
// line of the list, the results that line writes. `kestra report merge` reads it to refuse
// results of another project or another list, and to show every result a line should have
// written but did not as unknown, never as nothing. Standard C++ only; value type.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct PlannedResult {
  std::string file;  // absolute; the results file the line writes
  std::string library;
  std::string cell;
  std::string flow;
};

struct PlanManifest {
  std::string id;       // new for every list written
  std::string project;  // absolute
  std::string plan;     // the list (or the Slurm script), absolute
  // Line i + 1 of the list writes lines[i].
  std::vector<std::vector<PlannedResult>> lines;
};

// FILE.d/plan.json for the results folder FILE.d/results (a results file's folder).
std::string ManifestFileOf(const std::string& resultsFolder);

// A fresh identity: time and randomness, 16 hexadecimal digits.
std::string NewPlanId();

std::string PlanManifestJson(const PlanManifest& manifest);

// The manifest in file, or nullopt with the reason in error (missing, damaged, not a
// manifest). Never throws for bad text.
std::optional<PlanManifest> ReadPlanManifest(const std::string& file, std::string& error);

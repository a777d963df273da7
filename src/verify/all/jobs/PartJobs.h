// The run of `kestra verify all` as a list of jobs: one per part and flow, each the words of
// one `kestra verify FLOW` run on that part, or the reason the flow does not apply to it, and
// the content hash of everything its verdict depends on. Standard C++ only.
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

#include "verify/VerifyFlow.h"

struct VerifyAllRequest {
  std::string project;                 // absolute
  std::vector<std::string> libraries;  // as qvd.lib names them; empty: every library of it
  std::vector<std::string> cells;      // only these parts ("" for every part)
  std::vector<std::string> flows;      // only these flows (empty: every flow that checks parts)
  std::string templateFile;            // absolute, "" when none
  // A template of its own for a library (absolute), instead of templateFile for its parts.
  std::map<std::string, std::string> libraryTemplates;
  std::string modelsDirectory;  // absolute, "" when none
  bool reference = false;       // the libraries of refqvd.lib instead of qvd.lib
};

struct PartJob {
  std::string library;
  std::string cell;
  std::string flow;
  std::vector<std::string> words;  // the flow's words for the part, without -json
  std::string notRun;              // why the flow does not apply ("" when it runs)
  std::string hash;                // of the part's files, the project, the inputs and the words
  std::string key;                 // file-name-safe key of library and cell
};

struct JobPlan {
  std::vector<std::string> flows;      // the matrix's columns, in registry order
  std::vector<std::string> libraries;  // the libraries checked, in order
  std::vector<PartJob> jobs;           // part by part, each part's flows in column order
  std::string error;                   // why there is no plan (an unknown library, part or flow)
};

JobPlan PlanPartJobs(const VerifyAllRequest& request, std::span<const VerifyFlow> flows);

// The file-name-safe key of a part: 16 hexadecimal digits.
std::string PartKey(const std::string& library, const std::string& cell);

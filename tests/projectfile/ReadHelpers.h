// Reading a project file text into a fresh model, for the reader and writer tests.
#pragma once

#include <string>

#include "TempDir.h"
#include "projectfile/CSpiFile.h"
#include "projectfile/CSpiProgramList.h"
#include "projectfile/SpiReader.h"

struct ReadOutcome {
  int result = 0;
  CSpiProgramList programs;
  std::string path;
};

// Writes text to a file in dir and reads it at level.
inline void ReadText(const TempDir& dir, const std::string& text, ReadOutcome& out, int level = 2) {
  out.path = dir.write("read.tak", text).string();
  CSpiFile file;
  out.result = file.Open(out.path) == 0 ? SpiReadFile(out.programs, file, level) : -2;
}

// The values of a directive at a level, joined with "|" ("<none>" when it does not exist).
inline std::string ValuesOf(const CSpiProgramList& programs, const std::string& program,
                            const std::string& directive, int level = 2) {
  const CSpiProgram* p = programs.Find(program);
  const CSpiDirective* d = p ? p->FindDirective(directive) : nullptr;
  if (!d) return "<none>";
  std::string joined;
  const SpiValueView values = d->Values(level).Values();
  for (std::size_t i = 0; i < values.size(); ++i) joined.append(i ? "|" : "").append(values[i]);
  return joined;
}

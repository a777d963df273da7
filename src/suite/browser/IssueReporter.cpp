#include "suite/browser/IssueReporter.h"

#include "libformat/LibraryTree.h"

void IssueReporter::ReportNew(const LibraryTree& tree) {
  size_t& done = reported_[&tree];
  const FormatIssues& issues = tree.Issues();
  for (; done < issues.size(); ++done)
    out_ << "library browser: " << issues[done].ToString() << '\n';
  out_.flush();
}

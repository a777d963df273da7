// `kestra report merge RESULTS.json|FOLDER ... -html FILE`: the results of `kestra verify`
// runs (a job list's results) as one report page, or as -json with the findings that came
// and went since an earlier run. Standard C++; one thread.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// The words after "report". The exit status as for RunVerifyAll: the worst verdict (0, 3, 1,
// 2), 2 for a usage error or results that cannot be read.
int RunReportVerb(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

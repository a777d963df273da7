// The verdict of a verification run, shared by every flow. The values are the exit statuses
// of `kestra verify`. Standard C++ only; value type, any thread.
#pragma once

enum class Verdict { Passed = 0, Failed = 1, Unknown = 2, PassedWithWarnings = 3 };

// "passed", "failed", "unknown", "passed with warnings" (the -json and JUnit words).
const char* VerdictName(Verdict verdict);

// The worse of two verdicts, in the order passed, passed with warnings, failed, unknown: a
// run of several parts is as good as its worst part, and a part nobody could check is worse
// than one that failed.
Verdict WorseVerdict(Verdict a, Verdict b);

inline int ExitStatusOf(Verdict verdict) { return static_cast<int>(verdict); }

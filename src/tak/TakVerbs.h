// The verbs of tak. Each writes its output to out, failures to err, and returns the exit
// status (0 success, 1 failure or not set).
#pragma once

#include <ostream>

#include "tak/TakArguments.h"

int TakParse(const TakArguments& arguments, std::ostream& out, std::ostream& err);
int TakFormat(const TakArguments& arguments, std::ostream& out, std::ostream& err);
int TakGet(const TakArguments& arguments, std::ostream& out, std::ostream& err);
int TakExplain(const TakArguments& arguments, std::ostream& out, std::ostream& err);
int TakSet(const TakArguments& arguments, std::ostream& out, std::ostream& err);

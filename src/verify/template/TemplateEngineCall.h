// Runs a piece of work with the template engine so that none of its failures escapes into
// the dialog's event loop: a BException's text is shown as it is, any other failure with a
// short sentence, and the dialog stays usable. UI thread only.
#pragma once

#include <functional>
#include <string>

class UTemplateReport;

// True when work ran to its end.
bool CallTemplateEngine(const std::function<void()>& work);

// Checks the cell of library (found through libraryList) against the template file on the
// aspects (AppPartCheck bits), the differences going into report, which is not shown. The
// number of differences; throws what the engine throws (call it inside CallTemplateEngine).
int CheckPartInto(UTemplateReport& report, const std::string& templatePath,
                  const std::string& libraryList, const std::string& library,
                  const std::string& cell, int aspects);

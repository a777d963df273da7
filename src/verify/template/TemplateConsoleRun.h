// `kestra verify template` and `kestra template extract`: checking parts against a template
// and extracting a template from a part without dialogs. Progress and notes go to standard
// error. Standard C++ (the template engine); any thread.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "verify/VerifyFlow.h"

// The registry entry of the template check.
VerifyFlow TemplateVerifyFlow();

// `kestra template extract -proj FILE -lib LIB -cell CELL -o FILE.tpl [-ref]`: writes the
// template of the part and prints it on out. Then checks the part against it and tells on err
// how far the part departs from its own template. Exit status 0 when the template was
// written, 1 when it could not be, 2 for a usage error.
int TemplateCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

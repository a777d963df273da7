// Runs a piece of work with the template engine so that none of its failures escapes into
// the dialog's event loop: a BException's text is shown as it is, any other failure with a
// short sentence, and the dialog stays usable. UI thread only.
#pragma once

#include <functional>

// True when work ran to its end.
bool CallTemplateEngine(const std::function<void()>& work);

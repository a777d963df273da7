// Text from names and files made safe to print or to hand to a reader that expects UTF-8:
// bytes that are not UTF-8 become U+FFFD, control characters are written as \xNN, so that a
// library or cell name cannot drive the terminal or break a JSON or XML reader.
// Standard C++ only; any thread.
#pragma once

#include <string>

// keepLineBreaks leaves line feeds and tabs as they are (for multi-line messages).
std::string PrintableText(const std::string& text, bool keepLineBreaks = false);

// PrintableText with &, <, >, " and ' written as references: safe as HTML or XML text and
// inside a quoted attribute.
std::string MarkupText(const std::string& text, bool keepLineBreaks = false);

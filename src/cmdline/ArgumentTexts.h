// The argument texts the command table hands to the direct-start tools and converters.
// They are joined from fragments that each begin with a blank, so "-gui" followed by
// "-product" has two blanks between them; tools rely on the texts exactly. Pure functions.
#pragma once

#include <string>

// T1: the library list, the project and the product, for the second-schematic converters.
std::string LibraryConverterText(const std::string& projectPath, const std::string& project,
                                 const std::string& product);
// T2: graphical mode and product.
std::string GuiProductText(const std::string& product);
// T3: the project.
std::string ProjectText(const std::string& project);
// T4: the project, and the message server when both session and host are known.
std::string ProjectWithServerText(const std::string& project, const std::string& session,
                                  const std::string& host);

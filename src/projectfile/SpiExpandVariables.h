// Expansion of environment-variable references ($NAME, ${NAME}, $(NAME)) in directive values.
#pragma once

#include <string>

// Expands every reference in input. Returns 1 with expanded set, or 0 with errorMessage set
// (expanded is then left unchanged). "QVD_INST_DIR" is answered with the install root; other
// names come from the process environment. Never touches SpiLastMessage.
int SpiExpandVariables(const std::string& input, std::string& expanded, std::string& errorMessage);

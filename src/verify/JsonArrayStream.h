// Writing a large JSON document piece by piece, byte for byte as nlohmann's dump(indent) would
// write it whole: the document's small members are dumped at once, its one large array element
// by element, so that only one element is ever held as a tree. Standard C++ only; any thread.
#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

// Writes head, a JSON object as dump(indent) writes it whose member key holds the empty array
// [], with that array holding count elements instead: element(i) gives the i-th as dump(indent)
// writes it alone. With count 0, or without such a member, head is written as it is.
void WriteJsonWithArray(std::string_view head, std::string_view key, int indent, std::size_t count,
                        const std::function<std::string(std::size_t)>& element, std::ostream& out);

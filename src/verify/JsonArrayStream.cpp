#include "verify/JsonArrayStream.h"

void WriteJsonWithArray(std::string_view head, std::string_view key, int indent, std::size_t count,
                        const std::function<std::string(std::size_t)>& element, std::ostream& out) {
  const std::string pad(static_cast<std::size_t>(indent), ' ');
  // A dump breaks lines only between values (a line break inside a string is written as
  // \n), so the member is found by its line, and an element is indented by its line breaks.
  const std::string member = "\n" + pad + "\"" + std::string(key) + "\": []";
  const std::size_t at = head.find(member);
  if (count == 0 || at == std::string_view::npos) {
    out << head;
    return;
  }
  const std::size_t open = at + member.size() - 2;  // the "[" of "[]"
  const std::string inner = "\n" + pad + pad;
  out << head.substr(0, open + 1);
  for (std::size_t i = 0; i < count; ++i) {
    out << (i == 0 ? "" : ",") << inner;
    const std::string text = element(i);
    std::size_t from = 0;
    for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
      out.write(text.data() + from, static_cast<std::streamsize>(end - from)) << inner;
    out.write(text.data() + from, static_cast<std::streamsize>(text.size() - from));
  }
  out << "\n" << pad << head.substr(open + 1);
}

#include "MessageFile.h"

#include <cstdio>
#include <fstream>

std::string ComposeMessageFile(const std::vector<std::string>& header,
                               const std::vector<Finding>& findings) {
  long counts[5] = {};
  std::string text;
  for (const std::string& line : header) text += line + "\n";
  for (const Finding& f : findings) {
    ++counts[static_cast<int>(f.severity)];
    text +=
        std::string(SeverityName(f.severity)) + " " + f.part + " " + f.rule + ": " + f.text + "\n";
  }
  std::string total = "TOTAL";
  long sum = 0;
  for (long count : counts) {
    total += " " + std::to_string(count);
    sum += count;
  }
  total += " " + std::to_string(sum) + "\n";
  const std::string pad = "# info oversights warnings errors fatal total\n";
  while (text.size() + total.size() < 512) text += pad;
  return text + total;
}

bool WriteMessageFile(const std::string& path, const std::string& text) {
  const std::string part = path + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (out.fail()) {
      std::remove(part.c_str());
      return false;
    }
  }
  return std::rename(part.c_str(), path.c_str()) == 0;
}

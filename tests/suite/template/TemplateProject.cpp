#include "TemplateProject.h"

#include <sstream>

TemplateProject::TemplateProject() { dir_.write("qvd.lib", "parts libs/parts\n"); }

void TemplateProject::writeCell(const std::string& cell, const std::string& package,
                                const std::string& symbol) const {
  dir_.write("libs/parts/" + cell + "/package/package.pkg", package);
  if (!symbol.empty()) dir_.write("libs/parts/" + cell + "/sym_1/symbol.sym", symbol);
}

std::string TemplateProject::CleanPackage(const std::string& name) {
  return "package " + name + "\nsymbol " + name + "\nproperty CLASS IC\nproperty PART_NAME " +
         name + "\nphysical " + name +
         "_DIP8\n  property JEDEC_TYPE DIP8\n  pin A 1 input\n  pin B 2 input\n"
         "  pin Y 3 tristate\n  load A input 0.01\n  load B input 0.01\n"
         "  load Y input 0.02\n  load Y output 0.4\nend\n";
}

std::string TemplateProject::CleanSymbol(const std::string& name) {
  return "symbol " + name +
         "\norigin 0 0\nextent -40 -30 40 30\npin A -40 10\npin B -40 -10\npin Y 40 0\n";
}

void TemplateProject::writeWidePart(const std::string& cell, int pins) const {
  std::ostringstream package, symbol;
  package << "package " << cell << "\nsymbol " << cell << "\nproperty CLASS IC\n"
          << "property PART_NAME " << cell << "\nphysical " << cell << "_BGA\n"
          << "  property JEDEC_TYPE BGA" << pins << "\n";
  symbol << "symbol " << cell << "\norigin 0 0\nextent -100 -" << pins * 5 << " 100 " << pins * 5
         << "\n";
  for (int i = 0; i < pins; ++i) {
    const bool input = i % 2 == 0;
    package << "  pin P" << i << ' ' << i + 1 << (input ? " input\n" : " tristate\n");
    package << "  load P" << i << " input " << (input ? "0.01" : "0.02") << "\n";
    if (!input) package << "  load P" << i << " output 0.4\n";
    symbol << "pin P" << i << ' ' << (input ? -100 : 100) << ' ' << (i / 2) * 10 - pins * 5 + 10
           << "\n";
  }
  package << "end\n";
  writeCell(cell, package.str(), symbol.str());
}

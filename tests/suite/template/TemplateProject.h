// A project folder for template tests: a qvd.lib naming library "parts" and cells written in
// our part format, a clean one by default and variants of it.
#pragma once

#include <string>

#include "TempDir.h"

class TemplateProject {
 public:
  TemplateProject();
  // The project directory, ending in "/", and its library list file.
  std::string directory() const { return dir_.str() + "/"; }
  std::string libraryList() const { return directory() + "qvd.lib"; }
  const TempDir& dir() const { return dir_; }
  // Writes cell of library "parts" from a package and a symbol text (no symbol view when
  // symbol is empty).
  void writeCell(const std::string& cell, const std::string& package,
                 const std::string& symbol) const;
  // The clean part: two inputs and a tristate output, centred origin, pins on a grid of 10.
  static std::string CleanPackage(const std::string& name);
  static std::string CleanSymbol(const std::string& name);
  // A part of pins inputs and as many tristate outputs, pins 10 apart.
  void writeWidePart(const std::string& cell, int pins) const;

 private:
  TempDir dir_;
};

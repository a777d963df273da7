// mldsetup: the part-authoring setup library.
#pragma once

#include <string>

// Initialises the setup library; called by every command object and again by the host.
void Mldsetup_initialize();

// The setup editor of the part-authoring tool, used by the template setup. Declaration
// only: no flow of this module needs its body yet.
class CMLDSetupMain {
 public:
  explicit CMLDSetupMain(unsigned kind);
  ~CMLDSetupMain();
  // 0 when the setup file was read.
  int LoadDataFromFile(std::string path);
  void InitialiseSetupForKestra(std::string text);
  // True when the user accepted the setup.
  bool DisplaySetup();

 private:
  unsigned kind_;
};

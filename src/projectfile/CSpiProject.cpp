#include "CSpiProject.h"

#include "SpiLastMessage.h"

CSpiProject::CSpiProject() = default;
CSpiProject::~CSpiProject() = default;

int CSpiProject::Open(const std::string&) { return -1; }
int CSpiProject::FindProgram(const std::string&) { return 1; }
CSpiProgram* CSpiProject::AddProgram(const std::string& name) {
  currentProgram_ = &programs_.Append(name, level_);
  return currentProgram_;
}
int CSpiProject::FindDirective(const std::string&) { return 1; }
void CSpiProject::AddDirective(const std::string&) {}
void CSpiProject::RewindValues() {}
int CSpiProject::GetNextValue(std::string&) { return 2; }
int CSpiProject::GetValue(const std::string&, std::string&) { return 1; }
int CSpiProject::AddValue(const std::string&) { return -1; }
int CSpiProject::ClearValues() { return -1; }
int CSpiProject::Save() { return -1; }
std::string CSpiProject::LevelLabel(int) const { return {}; }

#include "dialogs/TextEditorSetting.h"

#include "context/CKestraCmdContext.h"
#include "outside/CToolLauncher.h"
#include "projectfile/CSpiProject.h"

namespace {
constexpr const char* kDefaultEditor = "notepad.exe";
}

bool ReadTextEditor(const CKestraCmdContext& command, std::string& editor) {
  CSpiProject project;
  if (project.Open(command.GetProject()) != 0) return false;
  if (project.FindProgram("GLOBAL") != 0) return false;
  std::string value;
  if (project.GetValue("text_editor", value) != 0) return false;
  editor = value;
  return true;
}

std::string TextEditorOrDefault(const CKestraCmdContext& command) {
  std::string editor;
  if (!ReadTextEditor(command, editor)) editor = kDefaultEditor;
  return editor;
}

void ViewFileInTextEditor(const CKestraCmdContext& command, CToolLauncher& launcher,
                          const std::string& path) {
  launcher.launchTextView("\"" + path + "\"", TextEditorOrDefault(command));
}

#include "cmdline/KestraModuleEntry.h"

#include <QApplication>
#include <cstring>

#include "cmdline/CKestraCmdLine.h"
#include "cmdline/KestraEntryPoints.h"
#include "framework/Prompter.h"

int KestraRunInApplication(int& argc, char** argv, const std::function<int()>& body) {
  QApplication app(argc, argv);
  return body();
}

void KestraExecuteCommand(const std::string& product, const std::string& project,
                          const std::string& mode, const std::optional<std::string>& mpsSession,
                          const std::optional<std::string>& mpsHost) {
  CKestraCmdLine command;
  // The host's order: product, project, mode, then the message server when given.
  command.SetProduct(product);
  command.SetProject(project);
  command.SetMode(mode);
  if (mpsSession) command.SetMpsSession(*mpsSession);
  if (mpsHost) command.SetMpsHost(*mpsHost);
  command.ExecuteCmd();
}

void KestraShowMessage(const std::string& text, bool error) {
  AfxMessageBox(text, error ? MB_ICONERROR : MB_OK);
}

namespace {

struct NamedEntry {
  const char* name;
  KestraAnyFunction function;
};

template <typename Function>
NamedEntry Entry(const char* name, Function* function) {
  return {name, reinterpret_cast<KestraAnyFunction>(function)};
}

}  // namespace

KestraAnyFunction KestraEntry(const char* name) {
  static const NamedEntry entries[] = {
      Entry("KestraRunInApplication", &KestraRunInApplication),
      Entry("KestraExecuteCommand", &KestraExecuteCommand),
      Entry("KestraRunVerb", &KestraRunVerb),
      Entry("KestraVerifyFlowNames", &KestraVerifyFlowNames),
      Entry("KestraCommandNames", &KestraCommandNames),
      Entry("KestraCommandOpensDialog", &KestraCommandOpensDialog),
      Entry("KestraShowMessage", &KestraShowMessage),
  };
  for (const NamedEntry& entry : entries)
    if (std::strcmp(entry.name, name) == 0) return entry.function;
  return nullptr;
}

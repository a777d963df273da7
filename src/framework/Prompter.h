// Message boxes and file/folder choosers, through one replaceable prompter.
//
// The default prompter shows Qt dialogs; with KESTRA_NONINTERACTIVE=1 every message box is
// written to standard error as one line and answered with its default button, and choosers
// answer "cancelled". Tests install a RecordingPrompter. UI thread only.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Message-box flags and answers (the values of the Windows API they stand for).
enum : unsigned {
  MB_OK = 0x0,
  MB_OKCANCEL = 0x1,
  MB_YESNOCANCEL = 0x3,
  MB_YESNO = 0x4,
  MB_ICONERROR = 0x10,
  MB_ICONQUESTION = 0x20,
  MB_ICONWARNING = 0x30,
  MB_ICONINFORMATION = 0x40,
  MB_DEFBUTTON2 = 0x100,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

struct FileRequest {
  std::string title;
  std::string directory;  // initial folder
  std::string fileName;   // initial name
  std::string filter;     // Qt filter text, e.g. "Verilog (*.v);;All files (*)"
  // Extension (no dot) added to a typed name that has none, e.g. "tpl".
  std::string defaultSuffix;
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
  virtual std::optional<std::string> OpenFile(const FileRequest& request) = 0;
  virtual std::optional<std::string> SaveFile(const FileRequest& request) = 0;
  virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                  const std::string& start) = 0;
};

// The answer a message box with these flags gives when the user just presses Enter.
int DefaultAnswer(unsigned flags);

// The prompter in force; installs the default one on first use.
Prompter& CurrentPrompter();
// Installs a prompter and returns the previous one (null when none was installed yet).
std::unique_ptr<Prompter> SetPrompter(std::unique_ptr<Prompter> prompter);

// A message box with the module's caption.
int AfxMessageBox(const std::string& text, unsigned flags = MB_OK);

// Records every prompt and answers from a script; without a scripted answer a message box
// gets its default button and a chooser is cancelled.
class RecordingPrompter final : public Prompter {
 public:
  struct Message {
    std::string text;
    std::string caption;
    unsigned flags;
  };

  int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
  std::optional<std::string> OpenFile(const FileRequest& request) override;
  std::optional<std::string> SaveFile(const FileRequest& request) override;
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& start) override;

  std::vector<Message> messages;
  std::vector<std::string> chooserTitles;
  std::vector<FileRequest> fileRequests;           // every open/save request, in order
  std::deque<int> answers;                         // for message boxes, in order
  std::deque<std::optional<std::string>> choices;  // for choosers, in order
};

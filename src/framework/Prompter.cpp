#include "framework/Prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <cstdlib>
#include <iostream>

namespace {

constexpr const char* kCaption = "KestraUI";

std::unique_ptr<Prompter>& Slot() {
  static std::unique_ptr<Prompter> prompter;
  return prompter;
}

std::string OneLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c != '\r') {
      out += c;
    }
  }
  return out;
}

const char* IconWord(unsigned flags) {
  switch (flags & 0xF0) {
    case MB_ICONERROR:
      return "error";
    case MB_ICONQUESTION:
      return "question";
    case MB_ICONWARNING:
      return "warning";
    case MB_ICONINFORMATION:
      return "information";
    default:
      return "message";
  }
}

// Answers every message box with its default button on standard error.
class StderrPrompter final : public Prompter {
 public:
  int MessageBox(const std::string& text, const std::string&, unsigned flags) override {
    std::cerr << IconWord(flags) << ": " << OneLine(text) << std::endl;
    return DefaultAnswer(flags);
  }
  std::optional<std::string> OpenFile(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    return std::nullopt;
  }
};

// An open chooser accepts only an existing file; a save chooser asks before it replaces one.
// Both add the request's default suffix to a name typed without an extension.
std::optional<std::string> RunFileDialog(const FileRequest& r, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(r.title),
                     QString::fromStdString(r.directory), QString::fromStdString(r.filter));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  if (!r.defaultSuffix.empty()) dialog.setDefaultSuffix(QString::fromStdString(r.defaultSuffix));
  if (!r.fileName.empty()) dialog.selectFile(QString::fromStdString(r.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

class QtPrompter final : public Prompter {
 public:
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (flags & 0xF0) {
      case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
      case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
      case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
      case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
      default:
        break;
    }
    struct Choice {
      QMessageBox::StandardButton button;
      int answer;
    };
    std::vector<Choice> choices;
    switch (flags & 0xF) {
      case MB_OKCANCEL:
        choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        break;
      case MB_YESNOCANCEL:
        choices = {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
      case MB_YESNO:
        choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        break;
      default:
        choices = {{QMessageBox::Ok, IDOK}};
        break;
    }
    QMessageBox::StandardButtons buttons;
    for (const Choice& c : choices) buttons |= c.button;
    box.setStandardButtons(buttons);
    const std::size_t defaultIndex = (flags & MB_DEFBUTTON2) && choices.size() > 1 ? 1 : 0;
    box.setDefaultButton(choices[defaultIndex].button);
    const int pressed = box.exec();
    for (const Choice& c : choices) {
      if (c.button == pressed) return c.answer;
    }
    return choices.size() > 1 ? IDCANCEL : IDOK;
  }
  std::optional<std::string> OpenFile(const FileRequest& r) override {
    return RunFileDialog(r, QFileDialog::AcceptOpen);
  }
  std::optional<std::string> SaveFile(const FileRequest& r) override {
    return RunFileDialog(r, QFileDialog::AcceptSave);
  }
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& start) override {
    const QString d = QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), QString::fromStdString(title), QString::fromStdString(start));
    if (d.isEmpty()) return std::nullopt;
    return d.toStdString();
  }
};

}  // namespace

int DefaultAnswer(unsigned flags) {
  const bool second = (flags & MB_DEFBUTTON2) != 0;
  switch (flags & 0xF) {
    case MB_OKCANCEL:
      return second ? IDCANCEL : IDOK;
    case MB_YESNOCANCEL:
    case MB_YESNO:
      return second ? IDNO : IDYES;
    default:
      return IDOK;
  }
}

Prompter& CurrentPrompter() {
  auto& slot = Slot();
  if (!slot) {
    const char* ni = std::getenv("KESTRA_NONINTERACTIVE");
    if (ni && std::string(ni) == "1") {
      slot = std::make_unique<StderrPrompter>();
    } else {
      slot = std::make_unique<QtPrompter>();
    }
  }
  return *slot;
}

std::unique_ptr<Prompter> SetPrompter(std::unique_ptr<Prompter> prompter) {
  auto old = std::move(Slot());
  Slot() = std::move(prompter);
  return old;
}

int AfxMessageBox(const std::string& text, unsigned flags) {
  return CurrentPrompter().MessageBox(text, kCaption, flags);
}

int RecordingPrompter::MessageBox(const std::string& text, const std::string& caption,
                                  unsigned flags) {
  messages.push_back({text, caption, flags});
  if (answers.empty()) return DefaultAnswer(flags);
  const int a = answers.front();
  answers.pop_front();
  return a;
}

namespace {
std::optional<std::string> NextChoice(std::deque<std::optional<std::string>>& choices) {
  if (choices.empty()) return std::nullopt;
  auto c = choices.front();
  choices.pop_front();
  return c;
}
}  // namespace

std::optional<std::string> RecordingPrompter::OpenFile(const FileRequest& r) {
  chooserTitles.push_back(r.title);
  fileRequests.push_back(r);
  return NextChoice(choices);
}

std::optional<std::string> RecordingPrompter::SaveFile(const FileRequest& r) {
  chooserTitles.push_back(r.title);
  fileRequests.push_back(r);
  return NextChoice(choices);
}

std::optional<std::string> RecordingPrompter::ChooseFolder(const std::string& title,
                                                           const std::string&) {
  chooserTitles.push_back(title);
  return NextChoice(choices);
}

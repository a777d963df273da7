// A dialog of the module run headless over a copy of the example project, with the real
// browser and launcher; message boxes are recorded instead of shown. The dialog tests derive
// their fixtures from DemoDialogTest<TheDialog> and add what their flow needs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "DemoProject.h"
#include "TempDir.h"
#include "context/CKestraCmdContext.h"
#include "framework/CDialog.h"
#include "framework/Prompter.h"
#include "verify/VerifyResult.h"

template <class Dialog>
class DemoDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    projectFile = CopyDemoProject(dir.path());
    auto recording = std::make_unique<RecordingPrompter>();
    prompter = recording.get();
    previous = SetPrompter(std::move(recording));
    command.SetProduct("test");
    command.SetProject(projectFile.string());
  }
  void TearDown() override { SetPrompter(std::move(previous)); }

  // Runs the dialog (or another dialog of the same flow) modally; `script` acts on it once it
  // is open, then Close ends it.
  template <class Shown = Dialog>
  int RunDialog(const std::type_identity_t<std::function<void(Shown&)>>& script) {
    Shown dialog(&command, command.GetLauncher());
    QTimer::singleShot(0, &dialog, [&] {
      script(dialog);
      dialog.ClickDlgItem(Shown::IDC_CLOSE);
    });
    return dialog.DoModal();
  }

  // The texts of the message boxes shown so far.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& m : prompter->messages) texts.push_back(m.text);
    return texts;
  }

  TempDir dir;
  std::filesystem::path projectFile;
  CKestraCmdContext command;
  RecordingPrompter* prompter = nullptr;
  std::unique_ptr<Prompter> previous;
};

// The library's item in the dialog's browser tree, or null.
inline QTreeWidgetItem* LibraryItem(QWidget& dialog, const QString& library) {
  auto* tree = dialog.findChild<QTreeWidget*>("browserTree");
  if (!tree) return nullptr;
  const auto items = tree->findItems(library, Qt::MatchExactly);
  return items.isEmpty() ? nullptr : items.front();
}

// Ticks (or clears) a library and, when given, some of its cells, as the user would.
inline void Tick(QWidget& dialog, const QString& library, const QStringList& cells = {},
                 Qt::CheckState state = Qt::Checked) {
  QTreeWidgetItem* item = LibraryItem(dialog, library);
  ASSERT_NE(item, nullptr) << library.toStdString();
  item->setExpanded(true);
  item->setCheckState(0, state);
  for (const QString& cell : cells) {
    bool found = false;
    for (int i = 0; i < item->childCount(); ++i) {
      if (item->child(i)->text(0) == cell) {
        item->child(i)->setCheckState(0, state);
        found = true;
      }
    }
    ASSERT_TRUE(found) << cell.toStdString();
  }
}

// Picks text in the chooser of that object name.
inline void Choose(QWidget& dialog, const char* chooser, const QString& text) {
  auto* combo = dialog.findChild<QComboBox*>(chooser);
  ASSERT_NE(combo, nullptr) << chooser;
  const int index = combo->findText(text);
  ASSERT_GE(index, 0) << chooser << ": " << text.toStdString();
  combo->setCurrentIndex(index);
}

// Tools started detached write their files later: waits up to 30 s for file to have content.
inline bool WaitForFile(const std::filesystem::path& file) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 30000) {
    std::error_code error;
    if (std::filesystem::file_size(file, error) > 0 && !error) return true;
    QThread::msleep(50);
  }
  return false;
}

// Watches the modal dialogs while runs go on: records what the progress dialog's status line
// and the results dialogs say and closes the results dialogs; presses Cancel once when asked.
class ResultsWatcher {
 public:
  ResultsWatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(20);
    clock_.start();
  }
  std::vector<std::string> messages;      // the one-verdict results dialog's message
  std::vector<std::string> summaries;     // the per-part results dialog's summary line
  std::vector<std::string> partStatuses;  // and the status column of its list
  std::vector<std::string> statusLines;
  int progressSeen = 0;         // polls that saw the progress dialog
  bool cancelProgress = false;  // press Cancel once the progress dialog shows

 private:
  void Poll() {
    auto* modal = qobject_cast<CDialog*>(QApplication::activeModalWidget());
    if (!modal) return;
    if (modal->TemplateId() == 13036) {
      ++progressSeen;
      const std::string status = modal->GetDlgItemText(13045);
      if (statusLines.empty() || statusLines.back() != status) statusLines.push_back(status);
      if (cancelProgress) {
        cancelProgress = false;
        modal->ClickDlgItem(2);
      }
    }
    if (modal->TemplateId() == 13039) {
      messages.push_back(modal->GetDlgItemText(13051));
      modal->ClickDlgItem(1);
    }
    if (modal->TemplateId() == 209) {
      summaries.push_back(modal->GetDlgItemText(1120));
      if (auto* list = modal->findChild<QTreeWidget*>("partList")) {
        for (int i = 0; i < list->topLevelItemCount(); ++i)
          partStatuses.push_back(list->topLevelItem(i)->text(1).toStdString());
      }
      modal->done(1);
    }
    // A hung run must not hang the suite.
    if (clock_.elapsed() > 90000) modal->done(2);
  }
  QTimer timer_;
  QElapsedTimer clock_;
};

// The dialog and the headless verb give the same results for the same parts, but for how
// long each took.
inline void ExpectSameResults(const std::vector<VerifyResult>& dialog,
                              const std::vector<VerifyResult>& verb) {
  ASSERT_EQ(dialog.size(), verb.size());
  for (std::size_t i = 0; i < dialog.size(); ++i) {
    const VerifyResult& a = dialog[i];
    const VerifyResult& b = verb[i];
    EXPECT_EQ(a.flow, b.flow);
    EXPECT_EQ(a.library, b.library);
    EXPECT_EQ(a.cell, b.cell);
    EXPECT_EQ(a.verdict, b.verdict) << a.cell;
    EXPECT_EQ(a.message, b.message);
    EXPECT_EQ(a.log, b.log);
    EXPECT_EQ(a.counts, b.counts);
    EXPECT_EQ(a.findings, b.findings) << a.cell;
    EXPECT_EQ(a.cause, b.cause);
  }
}

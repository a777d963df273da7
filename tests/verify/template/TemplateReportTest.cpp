// The template library's windows, headless: the report (copy, save as text), the template
// display and the template editor (create, edit, refuse, save, ask before losing edits).
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QTimer>
#include <QTreeWidget>
#include <fstream>

#include "ModalWatcher.h"
#include "TempDir.h"
#include "framework/Prompter.h"
#include "model/RTemplateFile.h"
#include "outside/Tamsin.h"
#include "outside/mldsetup.h"
#include "suite/template/TemplateEditorDialog.h"
#include "suite/template/TemplateReportDialog.h"

namespace fs = std::filesystem;

namespace {

using Editor = TemplateEditorDialog;

class TemplateWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto recording = std::make_unique<RecordingPrompter>();
    prompter = recording.get();
    previous = SetPrompter(std::move(recording));
  }
  void TearDown() override { SetPrompter(std::move(previous)); }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& m : prompter->messages) texts.push_back(m.text);
    return texts;
  }

  TempDir dir;
  RecordingPrompter* prompter = nullptr;
  std::unique_ptr<Prompter> previous;
};

// Fills the fields of a section's page and presses one of its buttons.
void Enter(CDialog& editor, Editor::Section section, const std::string& name,
           const std::vector<std::string>& values, int button) {
  editor.SetDlgItemText(Editor::Id(section, Editor::kName), name);
  for (std::size_t i = 0; i < values.size(); ++i) {
    editor.SetDlgItemText(Editor::Id(section, Editor::kFirstValue + static_cast<int>(i)),
                          values[i]);
  }
  editor.ClickDlgItem(Editor::Id(section, button));
}

void Select(CDialog& editor, Editor::Section section, const QString& name) {
  auto* table = editor.DlgItem<QTreeWidget>(Editor::Id(section, Editor::kTable));
  const auto items = table->findItems(name, Qt::MatchExactly);
  ASSERT_FALSE(items.isEmpty()) << name.toStdString();
  table->setCurrentItem(items.front());
}

}  // namespace

TEST_F(TemplateWindowsTest, ReportListsTheDifferencesAndCopiesAndSavesThem) {
  UTemplateReport report;
  BMesgList& messages = *report.getErrorList();
  messages.add("res: property values: VALUE expected 10k, found 22k");
  messages.add("res: pin loads: passive input load expected 0.01, found 0.02");
  messages.add("res: symbol information: pins expected 2, found 3");
  const fs::path saved = dir.path() / "report.txt";
  prompter->choices = {saved.string(), (dir.path() / "missing" / "r.txt").string()};

  ModalWatcher watcher;
  std::string summary;
  watcher.On(TemplateReportDialog::IDD, [&](CDialog& window) {
    summary = window.GetDlgItemText(TemplateReportDialog::IDC_SUMMARY);
    window.ClickDlgItem(TemplateReportDialog::IDC_COPY);
    window.ClickDlgItem(TemplateReportDialog::IDC_SAVE);
    window.ClickDlgItem(TemplateReportDialog::IDC_SAVE);  // a folder that does not exist
    window.ClickDlgItem(TemplateReportDialog::IDC_CLOSE);
  });
  EXPECT_TRUE(report.create());
  EXPECT_EQ(watcher.Seen(TemplateReportDialog::IDD), 1);
  EXPECT_EQ(summary, "3 differences found.");
  const std::string expected =
      "res: property values: VALUE expected 10k, found 22k\n"
      "res: pin loads: passive input load expected 0.01, found 0.02\n"
      "res: symbol information: pins expected 2, found 3\n";
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), expected);
  EXPECT_EQ(ReadFile(saved), expected);
  ASSERT_EQ(prompter->fileRequests.size(), 2u);
  EXPECT_EQ(prompter->fileRequests[0].defaultSuffix, "txt");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("missing/r.txt"), std::string::npos) << Messages()[0];
  EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}

TEST_F(TemplateWindowsTest, DisplayShowsTheTextReadOnly) {
  UTemplateDisplay display;
  display.SetDisplay("line one\nline two\n");
  ModalWatcher watcher;
  watcher.On(13110, [&](CDialog& window) {
    EXPECT_EQ(window.GetDlgItemText(13111), "line one\nline two\n");
    window.ClickDlgItem(2);
  });
  EXPECT_EQ(display.DoModal(), 2);
  EXPECT_EQ(watcher.Seen(13110), 1);
}

TEST_F(TemplateWindowsTest, EditorCreatesATemplateEntryByEntryAndRefusesBadValues) {
  const fs::path file = dir.path() / "site.tpl";
  prompter->choices = {file.string()};
  ModalWatcher watcher;
  watcher.On(Editor::IDD, [&](CDialog& editor) {
    const std::string pinType = RTemplateFile::knownPinTypes().front();
    Enter(editor, Editor::kSymbolInformation, "symbols", {"1"}, Editor::kAdd);
    EXPECT_EQ(editor.GetDlgItemText(Editor::Id(Editor::kSymbolInformation, Editor::kHint)),
              RTemplateFile::symbolValueHint("symbols"));
    Enter(editor, Editor::kPropertyValues, "CLASS", {"IC"}, Editor::kAdd);
    Enter(editor, Editor::kPropertyValues, "PART_NAME", {"74*"}, Editor::kAdd);
    Enter(editor, Editor::kPropertyValues, "CLASS", {"DISCRETE"}, Editor::kAdd);  // exists
    Enter(editor, Editor::kPinLoads, pinType, {"0.5", "-"}, Editor::kAdd);
    Enter(editor, Editor::kPinLoads, pinType + "x", {"0.5", "-"}, Editor::kAdd);  // no type
    Select(editor, Editor::kPinLoads, QString::fromStdString(pinType));
    Enter(editor, Editor::kPinLoads, pinType, {"abc", "-"}, Editor::kChange);  // no number
    Select(editor, Editor::kPropertyValues, "PART_NAME");
    Enter(editor, Editor::kPropertyValues, "PART", {"74*"}, Editor::kChange);  // renamed
    Select(editor, Editor::kPropertyValues, "CLASS");
    editor.ClickDlgItem(Editor::Id(Editor::kPropertyValues, Editor::kRemove));
    editor.ClickDlgItem(Editor::IDC_SAVE);  // a new template: asks where
    editor.ClickDlgItem(Editor::IDC_CLOSE);
  });
  CMLDSetupMain setup(2);
  setup.InitialiseSetupForKestra((dir.path() / "demo.tak").string());
  EXPECT_TRUE(setup.DisplaySetup());
  EXPECT_EQ(watcher.Seen(Editor::IDD), 1);
  EXPECT_EQ(prompter->chooserTitles, (std::vector<std::string>{"Save Part Template"}));
  EXPECT_EQ(prompter->fileRequests.at(0).directory, dir.str()) << "the project's folder";
  const auto messages = Messages();
  ASSERT_EQ(messages.size(), 3u) << "the existing entry, the unknown pin type, the bad load";
  EXPECT_NE(messages[0].find("CLASS"), std::string::npos) << messages[0];

  RTemplateFile written;
  written.readFile(file.string());
  EXPECT_EQ(written.getPropertyNames(), (std::vector<std::string>{"PART"}));
  ASSERT_NE(written.getPinLoad(RTemplateFile::knownPinTypes().front()), nullptr);
  EXPECT_EQ(written.getPinLoad(RTemplateFile::knownPinTypes().front())->getInputLoad(), "0.5");
  EXPECT_EQ(written.getPinTypes().size(), 1u);
  ASSERT_NE(written.getSymbolValue("symbols"), nullptr);
  EXPECT_EQ(*written.getSymbolValue("symbols"), "1");
}

TEST_F(TemplateWindowsTest, EditorLoadsAFileAndAsksBeforeLosingEdits) {
  RTemplateFile site;
  site.setPropertyValue("CLASS", "IC");
  const fs::path file = dir.path() / "site.tpl";
  site.saveAs(file.string());
  const std::string original = ReadFile(file);
  dir.write("broken.tpl", "not a template\n");

  CMLDSetupMain setup(1);
  setup.InitialiseSetupForKestra((dir.path() / "demo.tak").string());
  prompter->choices = {std::nullopt, (dir.path() / "broken.tpl").string(), file.string()};
  EXPECT_EQ(setup.LoadDataFromFile(""), 0) << "cancelled";
  EXPECT_EQ(setup.LoadDataFromFile(""), 0) << "not a template";
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("broken.tpl"), std::string::npos) << Messages()[0];
  EXPECT_EQ(setup.LoadDataFromFile(""), 1);
  ASSERT_EQ(prompter->fileRequests.size(), 3u);
  EXPECT_EQ(prompter->fileRequests[0].directory, dir.str());

  prompter->messages.clear();
  // Cancel keeps the editor open; No closes it and drops the edit.
  prompter->answers = {IDCANCEL, IDNO};
  int closes = 0;
  ModalWatcher watcher;
  watcher.On(Editor::IDD, [&](CDialog& editor) {
    auto& e = static_cast<Editor&>(editor);
    if (closes == 0) {
      EXPECT_EQ(e.Rows(Editor::kPropertyValues),
                (std::vector<std::vector<std::string>>{{"CLASS", "IC"}}));
      Enter(editor, Editor::kPropertyValues, "VALUE", {"10k"}, Editor::kAdd);
      EXPECT_TRUE(e.IsModified());
    }
    ++closes;
    editor.ClickDlgItem(Editor::IDC_CLOSE);
  });
  EXPECT_FALSE(setup.DisplaySetup());
  EXPECT_EQ(closes, 2);
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_EQ(ReadFile(file), original) << "nothing written without a Save";
}

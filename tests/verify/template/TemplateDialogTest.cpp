// The template setup and verification dialogs, headless, over a copy of the example project,
// with the real browser and the real template engine.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "DemoDialogTest.h"
#include "ModalWatcher.h"
#include "TempDir.h"
#include "context/CKestraCmdContext.h"
#include "framework/Prompter.h"
#include "model/RTemplateFile.h"
#include "outside/C5XBrowserUI.h"
#include "outside/Tamsin.h"
#include "verify/template/CSetupTemplate.h"
#include "verify/template/CTemplateVerificationdlg.h"
#include "verify/template/TemplateConsoleRun.h"
#include "verify/template/TemplateRun.h"

namespace fs = std::filesystem;

namespace {

constexpr int kReportWindow = 13100;
constexpr int kTemplateWindow = 13110;
constexpr int kReportDifferences = 13102;
constexpr int kTemplateText = 13111;
constexpr const char* kNoDifferences = "No differences found in Part from the selected template";

class TemplateDialogTest : public DemoDialogTest<CTemplateVerificationdlg> {
 protected:
  void SetUp() override {
    DemoDialogTest::SetUp();
    projectDir = projectFile.parent_path();
  }

  // A template extracted by the engine from a part, written to name in the test folder.
  std::string Extract(const std::string& list, const std::string& library, const std::string& cell,
                      const std::string& name) {
    const std::string path = (dir.path() / name).string();
    BMesgList notes;
    AppTemplateExtract extractor;
    extractor.setErrorList(&notes);
    extractor.loadPart((projectDir / list).string(), library, cell);
    extractor.runExtract();
    extractor.saveAs(path);
    return path;
  }

  // Adds a library "single" holding one part (a copy of passives/res) to the project.
  void AddOneCellLibrary() {
    fs::create_directories(projectDir / "libs" / "single");
    fs::copy(projectDir / "libs" / "passives" / "res", projectDir / "libs" / "single" / "res",
             fs::copy_options::recursive);
    std::ofstream(projectDir / "qvd.lib", std::ios::app) << "single     libs/single\n";
  }

  // Adds a library "odd" whose part "odd7" has seven input pins, three of them with a load
  // the other four lack: a template extracted from it expects no load, so the part differs
  // from its own template in three places.
  void AddNonStandardPart() {
    const fs::path part = projectDir / "libs" / "odd" / "odd7";
    fs::create_directories(part);
    fs::copy(projectDir / "libs" / "passives" / "res" / "sym_1", part / "sym_1",
             fs::copy_options::recursive);
    fs::create_directories(part / "package");
    std::ofstream(part / "package" / "package.pkg") << "package odd7\n"
                                                       "symbol res\n"
                                                       "property CLASS IC\n"
                                                       "physical ODD7_DIP8\n"
                                                       "  pin A 1 input\n"
                                                       "  pin B 2 input\n"
                                                       "  pin C 3 input\n"
                                                       "  pin D 4 input\n"
                                                       "  pin E 5 input\n"
                                                       "  pin F 6 input\n"
                                                       "  pin G 7 input\n"
                                                       "  load E input 0.05\n"
                                                       "  load F input 0.05\n"
                                                       "  load G input 0.05\n"
                                                       "end\n";
    std::ofstream(projectDir / "qvd.lib", std::ios::app) << "odd        libs/odd\n";
  }

  fs::path projectDir;
};

void ChooseReferenceLibraries(CDialog& dialog) {
  auto* chooser = dialog.findChild<QComboBox*>("libraryTypeChooser");
  ASSERT_NE(chooser, nullptr);
  chooser->setCurrentIndex(chooser->findText("Reference Libraries"));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace

TEST_F(TemplateDialogTest, VerificationOpensWithItsControlsAndRefusesIncompleteRequests) {
  const std::string resTemplate = Extract("qvd.lib", "passives", "res", "res.tpl");
  const int code = RunDialog([&](CTemplateVerificationdlg& d) {
    EXPECT_EQ(d.windowTitle().toStdString(), "Verify Tessel Libraries with Template");
    EXPECT_EQ(d.GetDlgItemText(1), "V&erify");
    EXPECT_EQ(d.GetDlgItemText(13037), "&Verify symbol information");
    EXPECT_EQ(d.GetDlgItemText(13038), "Verify &pin loads");
    EXPECT_EQ(d.GetDlgItemText(13039), "Veri&fy property values");
    for (int id : {13037, 13038, 13039}) EXPECT_TRUE(d.IsDlgButtonChecked(id)) << id;
    EXPECT_EQ(d.CheckType(), 7u);
    EXPECT_NE(d.findChild<QWidget*>("libraryTypeChooser"), nullptr);

    d.ClickDlgItem(1);  // nothing ticked
    Tick(d, "standard");
    Tick(d, "passives");
    d.ClickDlgItem(1);  // two libraries
    Tick(d, "standard", {"7400"});
    d.findChild<QTreeWidget*>("browserTree")
        ->findItems("standard", Qt::MatchExactly)
        .front()
        ->setCheckState(0, Qt::Unchecked);
    Tick(d, "passives");
    d.ClickDlgItem(1);  // a library of four cells, none ticked
    Tick(d, "passives", {"res"});
    d.ClickDlgItem(1);  // no template
    d.SetDlgItemText(13040, resTemplate);
    for (int id : {13037, 13038, 13039}) d.CheckDlgButton(id, false);
    d.ClickDlgItem(1);  // no aspect
    EXPECT_EQ(d.CheckType(), 0u);
    EXPECT_EQ(d.LibraryListFile(), "") << "no check was started";
    EXPECT_TRUE(d.isVisible());
  });
  EXPECT_EQ(code, 8);
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "Select a cell for verification",
                            "Only one library can be selected for verification",
                            "Only one cell can be selected for verification",
                            "Specify the template file",
                            "No option selected for template verification",
                        }));
}

TEST_F(TemplateDialogTest, VerificationChecksTheTickedAspectsOfOnePart) {
  AddOneCellLibrary();
  const std::string resTemplate = Extract("qvd.lib", "passives", "res", "res.tpl");
  // The same template with three property values changed.
  RTemplateFile changed;
  changed.readFile(resTemplate);
  const auto names = changed.getPropertyNames();
  ASSERT_GE(names.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) changed.setPropertyValue(names[i], "OTHER" + names[i]);
  const std::string changedTemplate = (dir.path() / "changed.tpl").string();
  changed.saveAs(changedTemplate);

  ModalWatcher watcher;
  std::vector<std::string> reported;
  watcher.On(kReportWindow, [&](CDialog& report) {
    reported = Lines(report.GetDlgItemText(kReportDifferences));
    report.done(2);
  });
  RunDialog([&](CTemplateVerificationdlg& d) {
    // Only pin loads: the changed properties are not looked at.
    Tick(d, "passives", {"res"});
    d.SetDlgItemText(13040, changedTemplate);
    d.CheckDlgButton(13037, false);
    d.CheckDlgButton(13039, false);
    d.ClickDlgItem(1);
    EXPECT_EQ(d.CheckType(), 2u);
    EXPECT_EQ(d.LibraryListFile(), (projectDir / "qvd.lib").string());
    EXPECT_EQ(d.CheckedCell(), "res");
    // All aspects: three differences, shown as the report.
    for (int id : {13037, 13038, 13039}) d.CheckDlgButton(id, true);
    d.ClickDlgItem(1);
    EXPECT_EQ(d.CheckType(), 7u);
  });
  EXPECT_EQ(watcher.Seen(kReportWindow), 1);
  ASSERT_EQ(reported.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NE(reported[i].find("OTHER"), std::string::npos) << reported[i];
  }

  // A library of one part is checked without ticking that part.
  prompter->messages.clear();
  RunDialog([&](CTemplateVerificationdlg& d) {
    Tick(d, "single");
    d.SetDlgItemText(13040, resTemplate);
    d.ClickDlgItem(1);
    EXPECT_EQ(d.CheckedLibrary(), "single");
    EXPECT_EQ(d.CheckedCell(), "res");
  });
  EXPECT_EQ(Messages(), (std::vector<std::string>{kNoDifferences}));
}

TEST_F(TemplateDialogTest, VerificationOfAReferenceLibraryReadsItsListAndSurvivesFailures) {
  const std::string lmTemplate = Extract("refqvd.lib", "refparts", "lm358", "lm358.tpl");
  RunDialog([&](CTemplateVerificationdlg& d) {
    ChooseReferenceLibraries(d);
    Tick(d, "refparts", {"lm358"});
    // A template that is not there: the engine's message, and the dialog goes on.
    d.SetDlgItemText(13040, (dir.path() / "missing.tpl").string());
    d.ClickDlgItem(1);
    EXPECT_TRUE(d.isVisible());
    d.SetDlgItemText(13040, lmTemplate);
    d.ClickDlgItem(1);
    EXPECT_EQ(d.LibraryListFile(), (projectDir / "refqvd.lib").string());
  });
  const auto messages = Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_NE(messages[0].find("missing.tpl"), std::string::npos) << messages[0];
  EXPECT_EQ(prompter->messages[0].flags & MB_YESNO, 0u) << "only an OK button";
  EXPECT_EQ(messages[1], kNoDifferences);
}

TEST_F(TemplateDialogTest, TemplateChooserAndHelp) {
  const fs::path helpLog = dir.path() / "help.log";
  setenv("KESTRA_HELP_LOG", helpLog.c_str(), 1);
  setenv("KESTRA_NONINTERACTIVE", "1", 1);  // help is logged, no browser is started
  prompter->choices = {std::nullopt, std::string("/lib/site.tpl")};
  RunDialog([&](CTemplateVerificationdlg& d) {
    d.ClickDlgItem(13041);  // cancelled: nothing changes
    EXPECT_EQ(d.GetDlgItemText(13040), "");
    d.ClickDlgItem(13041);
    EXPECT_EQ(d.GetDlgItemText(13040), "/lib/site.tpl");
    d.ClickDlgItem(9);
  });
  RunDialog<CSetupTemplate>([&](CSetupTemplate& d) { d.ClickDlgItem(9); });
  unsetenv("KESTRA_HELP_LOG");
  unsetenv("KESTRA_NONINTERACTIVE");
  ASSERT_EQ(prompter->fileRequests.size(), 2u);
  const FileRequest& request = prompter->fileRequests.front();
  EXPECT_EQ(request.title, "Select Part Template");
  EXPECT_EQ(request.fileName, "template");
  EXPECT_EQ(request.filter, "Template Files (*.tpl)");
  EXPECT_EQ(request.defaultSuffix, "tpl");
  EXPECT_EQ(ReadFile(helpLog), "help: topic 143366\nhelp: topic 143371\n");
}

TEST_F(TemplateDialogTest, SetupChoosersFollowTheRadioButtons) {
  RunDialog<CSetupTemplate>([&](CSetupTemplate& d) {
    EXPECT_EQ(d.windowTitle().toStdString(), "Setup Template");
    EXPECT_EQ(d.GetDlgItemText(1), "&OK");
    EXPECT_EQ(d.GetDlgItemText(13000), "Create a &new template");
    EXPECT_EQ(d.GetDlgItemText(13001), "&Edit an existing template");
    EXPECT_EQ(d.GetDlgItemText(13002), "Extract template from an existing part :");
    auto* library = d.findChild<QComboBox*>("libraryChooser");
    auto* cell = d.findChild<QComboBox*>("cellChooser");
    ASSERT_TRUE(library && cell);
    EXPECT_TRUE(d.IsDlgButtonChecked(13000));
    EXPECT_FALSE(library->isEnabled());
    d.ClickDlgItem(13002);
    EXPECT_TRUE(library->isEnabled() && cell->isEnabled());
    d.ClickDlgItem(13001);
    EXPECT_FALSE(library->isEnabled() || cell->isEnabled());
    // The choosers' labels stand beside them, never over them.
    for (QLabel* label : d.findChildren<QLabel*>()) {
      for (QComboBox* chooser : {library, cell}) {
        EXPECT_FALSE(label->geometry().intersects(chooser->geometry()))
            << label->text().toStdString();
      }
    }
  });
}

TEST_F(TemplateDialogTest, ExtractionShowsTheTemplateAndAsksOnlyWhenThePartDiffers) {
  ModalWatcher watcher;
  std::string shown;
  watcher.On(kTemplateWindow, [&](CDialog& display) {
    shown = display.GetDlgItemText(kTemplateText);
    display.done(2);
  });
  const fs::path extracted = dir.path() / "res.tpl";
  prompter->choices = {std::nullopt, extracted.string(),
                       (dir.path() / "no-such-folder" / "x.tpl").string()};
  RunDialog<CSetupTemplate>([&](CSetupTemplate& d) {
    d.ClickDlgItem(13002);
    d.Browser()->SetSelectedLib("passives");
    d.Browser()->SetSelectedCell("res");
    d.ClickDlgItem(1);  // save chooser cancelled: nothing happens
    EXPECT_EQ(watcher.Seen(kTemplateWindow), 0);
    d.ClickDlgItem(1);  // a clean part: its template, no question
    d.ClickDlgItem(1);  // a folder that does not exist: the engine's message only
  });
  EXPECT_EQ(
      prompter->chooserTitles,
      (std::vector<std::string>{"New Part Template", "New Part Template", "New Part Template"}));
  EXPECT_EQ(watcher.Seen(kTemplateWindow), 1);
  RTemplateFile written;
  written.readFile(extracted.string());
  EXPECT_EQ(shown, written.toString());
  const auto messages = Messages();
  ASSERT_EQ(messages.size(), 1u) << "no \"standardized\" question";
  EXPECT_NE(messages[0].find("no-such-folder"), std::string::npos) << messages[0];
}

TEST_F(TemplateDialogTest, ExtractionFromANonStandardPartAsksWithTheCountOfDifferences) {
  AddNonStandardPart();
  ModalWatcher watcher;
  watcher.On(kTemplateWindow, [](CDialog& display) { display.done(2); });
  std::vector<std::string> reported;
  watcher.On(kReportWindow, [&](CDialog& report) {
    reported = Lines(report.GetDlgItemText(kReportDifferences));
    report.done(2);
  });
  prompter->choices = {(dir.path() / "odd7.tpl").string(), (dir.path() / "odd7b.tpl").string()};
  prompter->answers = {IDNO, IDYES};
  RunDialog<CSetupTemplate>([&](CSetupTemplate& d) {
    d.ClickDlgItem(13002);
    d.Browser()->SetSelectedLib("odd");
    d.Browser()->SetSelectedCell("odd7");
    d.ClickDlgItem(1);  // No: no report
    EXPECT_EQ(watcher.Seen(kReportWindow), 0);
    d.ClickDlgItem(1);  // Yes: the report of the three pins
  });
  const std::string question =
      "The values extracted into template are not \"standardized\".\nVerification of this part "
      "with the extracted template reported 3 differences.\nDo you want to view the "
      "verification report?\n";
  ASSERT_EQ(prompter->messages.size(), 2u);
  for (const auto& m : prompter->messages) {
    EXPECT_EQ(m.text, question);
    EXPECT_EQ(m.flags, unsigned{MB_YESNO | MB_ICONQUESTION});
  }
  EXPECT_EQ(watcher.Seen(kTemplateWindow), 2);
  EXPECT_EQ(watcher.Seen(kReportWindow), 1);
  ASSERT_EQ(reported.size(), 3u);
  for (const char* pin : {"pin E", "pin F", "pin G"}) {
    EXPECT_NE(
        std::find_if(reported.begin(), reported.end(),
                     [&](const std::string& line) { return line.find(pin) != std::string::npos; }),
        reported.end())
        << pin;
  }
}

// The dialog and the verb share the run: the same part against the same template gives the
// same result; a template that cannot be read, or a library without parts, gives one result
// without a verdict that says why.
TEST_F(TemplateDialogTest, TheDialogAndTheVerbGiveTheSameResults) {
  const std::string resTemplate = Extract("qvd.lib", "passives", "res", "res.tpl");
  RTemplateFile changed;
  changed.readFile(resTemplate);
  changed.setPropertyValue(changed.getPropertyNames().front(), "OTHER");
  const std::string changedTemplate = (dir.path() / "changed.tpl").string();
  changed.saveAs(changedTemplate);

  ModalWatcher watcher;
  watcher.On(kReportWindow, [&](CDialog& report) { report.done(2); });
  std::vector<VerifyResult> dialog;
  RunDialog([&](CTemplateVerificationdlg& d) {
    Tick(d, "passives", {"res"});
    d.SetDlgItemText(13040, changedTemplate);
    d.ClickDlgItem(1);
    dialog = d.Results();
  });
  ASSERT_EQ(dialog.size(), 1u);
  EXPECT_EQ(dialog[0].verdict, Verdict::Failed);
  ASSERT_EQ(dialog[0].findings.size(), 1u);
  EXPECT_EQ(dialog[0].findings[0].rule, "template_difference");
  const FlowRun verb = TemplateVerifyFlow().run({"-proj", projectFile.string(), "-lib", "passives",
                                                 "-cell", "res", "-template", changedTemplate});
  ExpectSameResults(dialog, verb.results);

  TemplateRequest request;
  request.libraryList = (projectDir / "qvd.lib").string();
  request.library = "passives";
  request.templateFile = (dir.path() / "missing.tpl").string();
  request.cells = {"res"};
  auto results = RunTemplate(request);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].verdict, Verdict::Unknown);
  EXPECT_NE(results[0].cause.find("missing.tpl"), std::string::npos) << results[0].cause;
  request.templateFile = resTemplate;
  request.cells.clear();
  results = RunTemplate(request);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].cause, "library passives has no cells");
}

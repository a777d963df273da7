// The dialog base, window messages and the prompter of the framework layer.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

#include "framework/CDialog.h"
#include "framework/Prompter.h"
#include "framework/WindowMessage.h"

namespace {

// A dialog with a few controls carrying ids, as a .ui template would give them.
class SampleDialog final : public CDialog {
 public:
  SampleDialog() : CDialog(4242) {
    auto* edit = new QLineEdit(this);
    edit->setProperty("ctrlId", 100);
    auto* check = new QCheckBox("&Stop", this);
    check->setProperty("ctrlId", 101);
    auto* button = new QPushButton("&Run", this);
    button->setProperty("ctrlId", 102);
    auto* ok = new QPushButton("OK", this);
    ok->setProperty("ctrlId", 1);
    ok->setGeometry(10, 40, 60, 20);
  }
  std::vector<int> commands;
  std::vector<std::pair<unsigned, WPARAM>> messages;
  bool cancelled = false;

 protected:
  bool OnCommand(int id) override {
    commands.push_back(id);
    return true;
  }
  void OnCancel() override {
    cancelled = true;
    CDialog::OnCancel();
  }
  LRESULT OnMessage(unsigned message, WPARAM wParam, LPARAM) override {
    messages.emplace_back(message, wParam);
    if (message == WM_TOOL_ENDED && wParam == 1) EndDialog(7);
    return 1;
  }
};

TEST(Dialog, ControlsAreReachedById) {
  SampleDialog dialog;
  dialog.SetDlgItemText(100, "hello");
  EXPECT_EQ(dialog.GetDlgItemText(100), "hello");
  EXPECT_EQ(dialog.GetDlgItemText(102), "&Run");
  dialog.CheckDlgButton(101, true);
  EXPECT_TRUE(dialog.IsDlgButtonChecked(101));
  dialog.EnableDlgItem(102, false);
  EXPECT_FALSE(dialog.IsDlgItemEnabled(102));
  dialog.ShowDlgItem(101, false);
  EXPECT_FALSE(dialog.IsDlgItemVisible(101));
  EXPECT_EQ(dialog.GetDlgItem(999), nullptr);
  EXPECT_EQ(dialog.GetDlgItemText(999), "");
  EXPECT_FALSE(dialog.IsDlgItemEnabled(999));
  const CRect ok = dialog.GetDlgItemRect(1);
  EXPECT_EQ(ok.left, 10);
  EXPECT_EQ(ok.Height(), 20);
}

TEST(Dialog, ModalRunEndsWithTheCodeOfTheEndMessage) {
  SampleDialog dialog;
  // Messages posted before the modal loop wait for it and arrive on this thread in order.
  PostMessage(&dialog, WM_TOOL_PROGRESS, 0, 0);
  PostMessage(&dialog, WM_TOOL_ENDED, 0, 0);  // wParam 0 is not an end
  // Posting works from any thread.
  std::unique_ptr<QThread> poster(
      QThread::create([&dialog] { PostMessage(&dialog, WM_TOOL_ENDED, 1, 0); }));
  QTimer::singleShot(50, [&poster] { poster->start(); });
  QTimer::singleShot(20, [&dialog] { dialog.ClickDlgItem(102); });
  EXPECT_EQ(dialog.DoModal(), 7);
  poster->wait();
  EXPECT_FALSE(dialog.HasWindow());
  const std::vector<std::pair<unsigned, WPARAM>> expected = {
      {WM_TOOL_PROGRESS, 0}, {WM_TOOL_ENDED, 0}, {WM_TOOL_ENDED, 1}};
  EXPECT_EQ(dialog.messages, expected);
  EXPECT_EQ(dialog.commands, std::vector<int>{102});
  EXPECT_EQ(SendMessage(&dialog, WM_TOOL_PROGRESS, 3, 0), 1);
  EXPECT_FALSE(PostMessage(nullptr, WM_TOOL_ENDED, 1, 0));
}

TEST(Dialog, OkAndEscapeGiveTheirCodes) {
  SampleDialog dialog;
  QTimer::singleShot(0, [&dialog] { dialog.ClickDlgItem(1); });
  EXPECT_EQ(dialog.DoModal(), 1);
  QTimer::singleShot(0, [&dialog] { dialog.close(); });  // the close box, like Escape
  EXPECT_EQ(dialog.DoModal(), 2);
  EXPECT_TRUE(dialog.cancelled);
}

namespace {

// A template as the verification dialogs have it: a tree in a group box on the left, boxes
// on the right, buttons along the bottom.
class TemplateDialog final : public CDialog {
 public:
  TemplateDialog() : CDialog(4243) {
    resize(400, 300);
    group = new QGroupBox("Select Library/Cells", this);
    group->setGeometry(10, 10, 200, 240);
    tree = new QTreeWidget(group);
    tree->setGeometry(10, 20, 180, 210);
    box = new QCheckBox("&Rule", this);
    box->setGeometry(220, 20, 170, 20);
    close = new QPushButton("&Close", this);
    close->setProperty("ctrlId", 8);
    close->setGeometry(315, 265, 75, 25);
  }
  QGroupBox* group;
  QTreeWidget* tree;
  QCheckBox* box;
  QPushButton* close;

 protected:
  bool OnCommand(int id) override { return OnCloseOrHelp(id, 8, 9, 8); }
};

}  // namespace

TEST(Dialog, TemplateDialogsOpenAsPlacedAndGrowWithoutClipping) {
  TemplateDialog dialog;
  std::vector<QRect> opened, grown;
  QSize least;
  QTimer::singleShot(0, &dialog, [&] {
    opened = {dialog.group->geometry(), dialog.tree->geometry(), dialog.close->geometry()};
    least = dialog.minimumSize();
    dialog.resize(800, 600);
    grown = {dialog.group->geometry(), dialog.tree->geometry(), dialog.box->geometry(),
             dialog.close->geometry()};
    dialog.resize(100, 100);  // refused below the template's size
    dialog.ClickDlgItem(8);
  });
  EXPECT_EQ(dialog.DoModal(), 8);
  EXPECT_EQ(opened,
            (std::vector<QRect>{{10, 10, 200, 240}, {10, 20, 180, 210}, {315, 265, 75, 25}}));
  EXPECT_EQ(least, QSize(400, 300));
  ASSERT_EQ(grown.size(), 4u);
  EXPECT_EQ(grown[0], QRect(20, 20, 400, 480)) << "the group box grows with the dialog";
  EXPECT_EQ(grown[1], QRect(20, 40, 360, 420)) << "and the tree inside it";
  EXPECT_EQ(grown[2].size(), QSize(170, 20)) << "a check box keeps its size";
  EXPECT_EQ(grown[2].topLeft(), QPoint(440, 40));
  // The button follows the corner and stays inside; nothing overlaps the tree's group.
  EXPECT_EQ(grown[3], QRect(630, 530, 75, 25));
  EXPECT_TRUE(QRect(0, 0, 800, 600).contains(grown[3]));
  EXPECT_FALSE(grown[0].intersects(grown[2]));
  EXPECT_GE(dialog.width(), 400);

  // The next run opens as the template places it again.
  QTimer::singleShot(0, &dialog, [&] {
    opened = {dialog.group->geometry(), dialog.tree->geometry(), dialog.close->geometry()};
    dialog.ClickDlgItem(8);
  });
  dialog.resize(800, 600);
  EXPECT_EQ(dialog.DoModal(), 8);
  EXPECT_EQ(opened[2], QRect(315, 265, 75, 25));
  EXPECT_EQ(dialog.size(), QSize(400, 300));
}

TEST(Prompter, RecordingPrompterRecordsAndAnswersFromItsScript) {
  auto owned = std::make_unique<RecordingPrompter>();
  RecordingPrompter& recorder = *owned;
  auto previous = SetPrompter(std::move(owned));
  recorder.answers = {IDNO};
  recorder.choices = {std::string("/x/a.tpl")};
  EXPECT_EQ(AfxMessageBox("Overwrite?", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(AfxMessageBox("Again?", MB_YESNO | MB_DEFBUTTON2), IDNO) << "default button 2";
  EXPECT_EQ(AfxMessageBox("Done."), IDOK);
  EXPECT_EQ(CurrentPrompter().OpenFile({"Select Part Template", "", "template", "", "tpl"}),
            std::optional<std::string>("/x/a.tpl"));
  EXPECT_EQ(CurrentPrompter().ChooseFolder("Folder", "/"), std::nullopt);
  ASSERT_EQ(recorder.messages.size(), 3u);
  EXPECT_EQ(recorder.messages[0].text, "Overwrite?");
  EXPECT_EQ(recorder.messages[0].flags, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(recorder.chooserTitles, (std::vector<std::string>{"Select Part Template", "Folder"}));
  SetPrompter(std::move(previous));

  EXPECT_EQ(DefaultAnswer(MB_OK), IDOK);
  EXPECT_EQ(DefaultAnswer(MB_YESNO), IDYES);
  EXPECT_EQ(DefaultAnswer(MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
}

}  // namespace

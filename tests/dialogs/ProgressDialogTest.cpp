// The progress dialog on its own: opening, geometry, Details, animation, ending.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "TempDir.h"
#include "ToolRunHarness.h"
#include "dialogs/CProgressDlg.h"
#include "dialogs/ToolRunProtocol.h"
#include "framework/CAnimateCtrl.h"

namespace {

// Runs the dialog modally and calls `inside` once it is open; the dialog is closed by the
// end of a run (no launcher is set, so Cancel ends it with 2).
int RunOpen(CProgressDlg& dlg, const std::function<void()>& inside) {
  QTimer::singleShot(0, &dlg, [&] {
    inside();
    if (dlg.HasWindow()) dlg.ClickDlgItem(2);
  });
  return dlg.DoModal();
}

}  // namespace

TEST(ProgressDialog, OpensAtItsPlaceWithStatusAndOnlyThePendingDetail) {
  CProgressDlg dlg;
  dlg.SetStatusText("Checking library lib1");
  dlg.SetPendingDetail("first\n");
  dlg.SetPendingDetail("second\n");  // replaces, never extends
  std::string pane;
  std::string status;
  QPoint where;
  RunOpen(dlg, [&] {
    pane = dlg.GetDlgItemText(CProgressDlg::IDC_DETAIL);
    status = dlg.GetDlgItemText(CProgressDlg::IDC_STATUS);
    where = dlg.pos();
  });
  EXPECT_EQ(dlg.windowTitle().toStdString(), "Verifying...");
  EXPECT_EQ(pane, "second\n");
  EXPECT_EQ(status, "Checking library lib1");
  EXPECT_EQ(where, QPoint(150, 90));
  EXPECT_TRUE(dlg.GetPendingDetail().empty());
}

TEST(ProgressDialog, DetailsToggleBetweenFullAndCollapsedHeight) {
  CProgressDlg dlg;
  RunOpen(dlg, [&] {
    auto* more = dlg.DlgItem<QPushButton>(CProgressDlg::IDC_DETAILS_MORE);
    // The dialog ends floor(0.6 x button height) below the Details button.
    const int expected = more->geometry().bottom() + 1 + more->height() * 6 / 10;
    EXPECT_EQ(dlg.GetCollapsedHeight(), expected);
    EXPECT_EQ(dlg.geometry().height(), dlg.GetCollapsedHeight());
    EXPECT_FALSE(dlg.IsDetailsShown());
    EXPECT_TRUE(dlg.IsDlgItemVisible(CProgressDlg::IDC_DETAILS_MORE));
    EXPECT_FALSE(dlg.IsDlgItemVisible(CProgressDlg::IDC_DETAILS_LESS));

    dlg.SetStatusText("changed while open");
    dlg.ClickDlgItem(CProgressDlg::IDC_DETAILS_MORE);
    EXPECT_EQ(dlg.geometry().height(), dlg.GetFullRect().height());
    EXPECT_EQ(dlg.geometry().width(), dlg.GetFullRect().width());
    EXPECT_GT(dlg.GetFullRect().height(), dlg.GetCollapsedHeight());
    EXPECT_EQ(dlg.GetDlgItemText(CProgressDlg::IDC_STATUS), "changed while open");
    EXPECT_FALSE(dlg.IsDlgItemVisible(CProgressDlg::IDC_DETAILS_MORE));
    EXPECT_TRUE(dlg.IsDlgItemVisible(CProgressDlg::IDC_DETAILS_LESS));

    dlg.ClickDlgItem(CProgressDlg::IDC_DETAILS_LESS);
    EXPECT_EQ(dlg.geometry().height(), dlg.GetCollapsedHeight());
    EXPECT_TRUE(dlg.IsDlgItemVisible(CProgressDlg::IDC_DETAILS_MORE));
    dlg.ClickDlgItem(CProgressDlg::IDC_DETAILS_MORE);  // left open for the next run
  });
  // A second run opens collapsed again from the template's size, with an empty pane.
  dlg.SetPendingDetail("run two\n");
  int fullHeight = 0;
  RunOpen(dlg, [&] {
    fullHeight = dlg.GetFullRect().height();
    EXPECT_EQ(dlg.geometry().height(), dlg.GetCollapsedHeight());
    EXPECT_EQ(dlg.GetDlgItemText(CProgressDlg::IDC_DETAIL), "run two\n");
  });
  EXPECT_GT(fullHeight, dlg.GetCollapsedHeight());
}

TEST(ProgressDialog, PlaysTheInstalledAnimationAndWorksWithoutIt) {
  CProgressDlg dlg;
  RunOpen(dlg, [&] {
    CAnimateCtrl* animation = dlg.Animation();
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(dlg.GetDlgItem(CProgressDlg::IDC_ANIMATION), animation);
    EXPECT_TRUE(animation->IsPlaying());
    EXPECT_EQ(std::filesystem::path(animation->GetFileName()).filename(), "filecopy.gif");
  });

  TempDir empty;
  const std::string saved = std::getenv("QVD_INST_DIR") ? std::getenv("QVD_INST_DIR") : "";
  setenv("QVD_INST_DIR", empty.str().c_str(), 1);
  CProgressDlg bare;
  bare.SetPendingDetail("still shown\n");
  RunOpen(bare, [&] {
    EXPECT_FALSE(bare.Animation()->IsOpen());
    EXPECT_EQ(bare.GetDlgItemText(CProgressDlg::IDC_DETAIL), "still shown\n");
  });
  setenv("QVD_INST_DIR", saved.c_str(), 1);
}

TEST(ProgressDialog, EnterDoesNotEndARunAndCancelWithoutLauncherDoesNotHang) {
  CProgressDlg dlg;
  bool openAfterEnter = false;
  const int result = RunOpen(dlg, [&] {
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&dlg, &enter);
    openAfterEnter = dlg.HasWindow() && dlg.isVisible();
  });
  EXPECT_TRUE(openAfterEnter);
  // No tool was started, so no end message can come: Cancel closes at once.
  EXPECT_EQ(result, 2);
  EXPECT_FALSE(dlg.IsCancelled());
}

TEST(ProgressDialog, EndMessageBeforeOpeningClosesTheDialogOnceItOpens) {
  CProgressDlg dlg;
  EXPECT_EQ(HandleToolEnded(0, dlg), 1);
  EXPECT_FALSE(dlg.IsEndedBeforeOpen());
  EXPECT_EQ(HandleToolEnded(1, dlg), 1);
  EXPECT_TRUE(dlg.IsEndedBeforeOpen());
  QTimer failSafe;
  QObject::connect(&failSafe, &QTimer::timeout, &dlg, [&] { dlg.EndDialog(99); });
  failSafe.start(5000);
  EXPECT_EQ(dlg.DoModal(), 1);
  EXPECT_FALSE(dlg.IsEndedBeforeOpen());
}

TEST(ProgressDialog, EndMessageRestoresTheSavedDirectoryOnlyForARealEnd) {
  TempDir runDir;
  TempDir savedDir;
  const auto start = std::filesystem::current_path();
  CProgressDlg dlg;
  std::filesystem::current_path(runDir.path());
  HandleToolEnded(0, dlg, savedDir.str());
  EXPECT_EQ(std::filesystem::current_path(), runDir.path());
  HandleToolEnded(1, dlg, "");
  EXPECT_EQ(std::filesystem::current_path(), runDir.path());
  HandleToolEnded(1, dlg, savedDir.str());
  EXPECT_EQ(std::filesystem::current_path(), savedDir.path());
  std::filesystem::current_path(start);
}

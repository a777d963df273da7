#include "dialogs/CProgressDlg.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "base/qvdCommon.h"
#include "dialogs/ui_CProgressDlg.h"
#include "framework/CAnimateCtrl.h"
#include "outside/CToolLauncher.h"

namespace {
// The install tree names the animation by its system name; the control plays the same stem
// in a format Qt reads.
constexpr const char* kAnimationPath = "/share/qvdsetup/lman/filecopy.avi";
}  // namespace

CProgressDlg::CProgressDlg(QWidget* parent)
    : CDialog(IDD, parent), ui_(std::make_unique<Ui::CProgressDlg>()) {
  ui_->setupUi(this);
  ui_->detailsLessButton->hide();
  loadedSize_ = size();
}

CProgressDlg::~CProgressDlg() = default;

bool CProgressDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // Every run opens as a fresh window would: the template's size and an empty pane.
  setFixedSize(loadedSize_);
  ui_->detailEdit->clear();
  output_.Attach(ui_->detailEdit);
  // Qt places and sizes a dialog by its client area (the frame is the window manager's and
  // is not known before the dialog is shown), so the rectangles here are client ones: the
  // collapsed dialog ends floor(0.6 x button height) below the Details button. The cast
  // truncates toward zero as the system's arithmetic does.
  fullRect_ = geometry();
  const QPushButton* more = ui_->detailsMoreButton;
  const int buttonBottom = more->mapTo(this, QPoint(0, more->height())).y() + fullRect_.top();
  collapsedHeight_ = buttonBottom - static_cast<int>(more->height() * -0.6) - fullRect_.top();
  move(kLeft, kTop);
  fullRect_.moveTo(kLeft, kTop);
  detailsShown_ = false;
  ApplySize();
  output_.AppendText(pendingDetail_);
  SetDlgItemText(IDC_STATUS, statusText_);
  pendingDetail_.clear();
  StartAnimation();
  if (endedBeforeOpen_) {
    endedBeforeOpen_ = false;
    QTimer::singleShot(0, this, &CProgressDlg::EndRun);
  }
  return true;
}

void CProgressDlg::EndRun() {
  output_.Flush();  // the last pieces are shown before the dialog closes
  if (cancelled_) {
    cancelled_ = false;
    EndDialog(2);
  } else {
    EndDialog(1);
  }
}

void CProgressDlg::StartAnimation() {
  if (!animation_) {
    QWidget* placeholder = ui_->animationPlaceholder;
    placeholder->hide();
    placeholder->setProperty("ctrlId", QVariant());  // the animation takes over the id
    const QRect r = placeholder->geometry();
    animation_ = new CAnimateCtrl(
        this, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}, IDC_ANIMATION);
  }
  // A missing or unplayable file leaves the area empty; the dialog works as usual.
  if (animation_->Open(qvdGetInstPath(kAnimationPath)))
    animation_->Play(0, CAnimateCtrl::kLastFrame, CAnimateCtrl::kRepeatForever);
}

void CProgressDlg::ApplySize() {
  const int width = fullRect_.width();
  if (detailsShown_) {
    setFixedSize(width, fullRect_.height());
    ShowDlgItem(IDC_DETAILS_MORE, false);
    ShowDlgItem(IDC_DETAILS_LESS, true);
  } else {
    setFixedSize(width, collapsedHeight_);
    ShowDlgItem(IDC_DETAILS_MORE, true);
    ShowDlgItem(IDC_DETAILS_LESS, false);
    if (QWidget* owner = parentWidget()) owner->window()->repaint();
  }
}

void CProgressDlg::hideEvent(QHideEvent* event) {
  // A closed dialog keeps no timer running.
  if (animation_) animation_->Stop();
  CDialog::hideEvent(event);
}

void CProgressDlg::OnOK() {
  // Enter does not end a run: only the tool's end message does.
}

void CProgressDlg::OnCancel() {
  cancelled_ = true;
  if (launcher_) {
    launcher_->AbortTool(kAbortCode, kAbortFlag);
    return;
  }
  // Without a launcher no tool runs and no end message can come: waiting would hang.
  cancelled_ = false;
  EndDialog(2);
}

bool CProgressDlg::OnCommand(int id) {
  switch (id) {
    case IDC_DETAILS_MORE:
      SetDlgItemText(IDC_STATUS, statusText_);
      detailsShown_ = true;
      ApplySize();
      return true;
    case IDC_DETAILS_LESS:
      detailsShown_ = false;
      ApplySize();
      return true;
    default:
      return false;
  }
}

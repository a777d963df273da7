// "Verifying...": the modal progress dialog shown while a sibling tool runs (template 13036).
//
// The owner keeps one CProgressDlg for its lifetime, sets the launcher before showing it,
// feeds it through ToolRunProtocol.h and ends it at the tool's end message with 1, or 2 after
// Cancel. Cancel (also Escape and the close box) asks the launcher to stop the tool and sets
// the cancelled flag; the dialog never closes by itself. UI thread only; the launcher is not
// owned, the pane and the animation are children of the dialog.
#pragma once

#include <QRect>
#include <memory>
#include <string>

#include "dialogs/CMldOutput.h"
#include "framework/CDialog.h"

class CToolLauncher;
class CAnimateCtrl;

namespace Ui {
class CProgressDlg;
}

class CProgressDlg final : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 13036,
    IDC_STATUS = 13045,
    IDC_DETAIL = 13046,
    IDC_DETAILS_MORE = 13047,
    IDC_DETAILS_LESS = 13048,
    IDC_ANIMATION = 13049,
  };
  // The values AbortTool receives from Cancel.
  static constexpr unsigned kAbortCode = 0xF50B;
  static constexpr int kAbortFlag = 1;
  // Where the dialog opens, in screen coordinates.
  static constexpr int kLeft = 150;
  static constexpr int kTop = 90;

  explicit CProgressDlg(QWidget* parent = nullptr);
  ~CProgressDlg() override;

  void SetLauncher(CToolLauncher* launcher) { launcher_ = launcher; }
  CToolLauncher* GetLauncher() const { return launcher_; }

  void SetStatusText(const std::string& text) { statusText_ = text; }
  const std::string& GetStatusText() const { return statusText_; }
  // Detail that arrived before the window existed; replaces any earlier pending text.
  void SetPendingDetail(const std::string& text) { pendingDetail_ = text; }
  const std::string& GetPendingDetail() const { return pendingDetail_; }

  // Set by Cancel; the owner reads and clears it at the end message.
  bool IsCancelled() const { return cancelled_; }

  // Ends the open dialog at the tool's end: 2 when the user cancelled (the flag is
  // cleared), else 1.
  void EndRun();
  // The tool's end message came before the dialog opened: the next opening ends at once.
  void SetEndedBeforeOpen() { endedBeforeOpen_ = true; }
  bool IsEndedBeforeOpen() const { return endedBeforeOpen_; }

  CMldOutput& Output() { return output_; }
  CAnimateCtrl* Animation() const { return animation_; }

  // Geometry recorded at opening, of the client area (Qt's dialog geometry): the rectangle
  // as loaded and the height without the detail pane.
  QRect GetFullRect() const { return fullRect_; }
  int GetCollapsedHeight() const { return collapsedHeight_; }
  bool IsDetailsShown() const { return detailsShown_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool OnCommand(int id) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void ApplySize();
  void StartAnimation();

  std::unique_ptr<Ui::CProgressDlg> ui_;
  CToolLauncher* launcher_ = nullptr;
  CMldOutput output_;
  bool cancelled_ = false;
  std::string statusText_;
  CAnimateCtrl* animation_ = nullptr;  // child of the dialog
  QSize loadedSize_;
  QRect fullRect_;
  int collapsedHeight_ = 0;
  bool detailsShown_ = false;
  std::string pendingDetail_;
  bool endedBeforeOpen_ = false;
};

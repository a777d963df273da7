// "Footprint" (template 13002): lists the footprints the project reaches through its
// footprint search path, narrows the list with a wildcard filter, and opens the chosen one in
// the layout editor's viewer. In verify mode ("VerifyWithPavrel") the viewer is asked to
// check it. "PCB Editor Setup" runs the layout editor's setup tool; when it ends the list is
// built again, since the tool may have changed the search path.
//
// Constructed by the command object with itself, its launcher (both borrowed for the dialog's
// life) and the mode; run with DoModal; Close ends it with 1. Owns the grid, the filter and
// the footprint list. UI thread only; the setup tool's WM_TOOL_ENDED arrives through
// OnMessage.
#pragma once

#include <memory>
#include <string>

#include "framework/CDialog.h"
#include "outside/CFootprint.h"
#include "outside/GridControl.h"

class CKestraCmdContext;
class CToolLauncher;

namespace Ui {
class CViewFootprint;
}

class CViewFootprint final : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 13002,
    IDC_GRID = 13003,
    IDC_FILTER = 13004,
    IDC_VIEW = 13005,
    IDC_SETUP = 13006,
    IDC_CLOSE = 8,
    IDC_HELP = 9,
  };
  static constexpr unsigned kVerifyHelpTopic = 143367;
  static constexpr unsigned kViewHelpTopic = 143368;

  CViewFootprint(CKestraCmdContext* command, CToolLauncher* launcher, std::string mode,
                 QWidget* parent = nullptr);
  ~CViewFootprint() override;

  const std::string& Mode() const { return mode_; }
  bool IsVerifyMode() const;
  CGXGridWnd& Grid() { return grid_; }

  // Refills the grid from the footprint list with the filter text.
  void FillGrid();
  // View (or Verify): opens the footprint of the current row.
  void OnView();
  void OnPcbEditorSetup();

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(int id) override;
  LRESULT OnMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
  void OnHelp() override;

 private:
  void OnFilterChanged();
  void Refresh();

  std::unique_ptr<Ui::CViewFootprint> ui_;
  CKestraCmdContext* command_;
  CToolLauncher* launcher_;
  CGXGridWnd grid_;
  CFilter filter_{"*", 0};
  CFootprint footprints_;
  std::string mode_;  // "ViewFootprint" or "VerifyWithPavrel"
  std::string filterText_;
};

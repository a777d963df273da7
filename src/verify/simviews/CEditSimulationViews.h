// "VHDL/Verilog Support" (dialog 13005): the librarian picks a library and a cell of the
// project and one of six actions on its simulation views (a new Verilog wrapper or map file,
// an existing Verilog view, the same three for VHDL); OK starts the part-authoring tool on
// it. The dialog stays open for further actions until Close (code 8).
//
// Two browsers: the main one carries the library and cell choosers and the view chooser of
// the active family, the second one the other family's view chooser. Choosing "open
// existing" of the other family exchanges the two view choosers, so that the main browser's
// view chooser is always the one OK reads. Both list the views of the main browser's library
// and cell. Constructed by the command object with itself and its launcher (borrowed for the
// dialog's life); owns both browsers. UI thread only.
#pragma once

#include <memory>
#include <optional>

#include "framework/CDialog.h"
#include "verify/simviews/SimViewsAction.h"

class C5XBrowserUI;
class CKestraCmdContext;
class CToolLauncher;

namespace Ui {
class CEditSimulationViews;
}

class CEditSimulationViews final : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 13005,
    IDC_VERILOG = 13021,
    IDC_VERILOG_NEW_WRAPPER = 13024,
    IDC_VERILOG_NEW_MAP = 13022,
    IDC_VERILOG_OPEN = 13023,
    IDC_VHDL = 13003,
    IDC_VHDL_NEW_WRAPPER = 13005,
    IDC_VHDL_NEW_MAP = 13006,
    IDC_VHDL_OPEN = 13004,
    IDC_GROUP = 13018,
    IDC_CLOSE = 8,
    IDC_HELP = 9,
  };
  static constexpr unsigned kHelpTopic = 143362;
  // One family of radio buttons: its family button, its three actions and its view type.
  struct Family;

  CEditSimulationViews(CKestraCmdContext* command, CToolLauncher* launcher,
                       QWidget* parent = nullptr);
  ~CEditSimulationViews() override;

  C5XBrowserUI* MainBrowser() const { return mainBrowser_.get(); }
  bool VerilogViewsActive() const { return verilogViewsActive_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(int id) override;
  void OnHelp() override;

 private:
  void ChooseFamily(const Family& family, const Family& other);
  void ChooseCreate(const Family& family, int id);
  void ChooseOpenExisting(const Family& family, const Family& other);
  void ClearFamily(const Family& family);
  void CheckOnly(const Family& family, int id);
  // The action the checked buttons name, first match wins: Verilog map file, wrapper, open
  // existing, then the same for VHDL.
  std::optional<SimViewsAction> CheckedAction() const;

  std::unique_ptr<Ui::CEditSimulationViews> ui_;
  std::unique_ptr<C5XBrowserUI> mainBrowser_;
  std::unique_ptr<C5XBrowserUI> secondBrowser_;
  CKestraCmdContext* command_;
  CToolLauncher* launcher_;
  bool verilogViewsActive_ = true;
};

// "View Symbol" (dialog 13000): the librarian picks a library, a cell and a symbol view of
// the project or of its reference libraries and starts the schematic editor on that view.
//
// Constructed by the command object with itself and its launcher (both borrowed for the
// dialog's life), run with DoModal, ended by Close (code 1). Owns the browser it creates at
// initialisation. The dialog stays open after View for further views. UI thread only.
#pragma once

#include <memory>

#include "framework/CDialog.h"

class C5XBrowserUI;
class CKestraCmdContext;
class CToolLauncher;

namespace Ui {
class CViewSymbol;
}

class CViewSymbol final : public CDialog {
  Q_OBJECT

 public:
  enum : int { IDD = 13000, IDC_VIEW = 13005, IDC_CLOSE = 8, IDC_HELP = 9 };
  static constexpr unsigned kHelpTopic = 143370;

  CViewSymbol(CKestraCmdContext* command, CToolLauncher* launcher, QWidget* parent = nullptr);
  ~CViewSymbol() override;

  C5XBrowserUI* Browser() const { return browser_.get(); }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id) override;
  void OnHelp() override;

 private:
  void OnView();

  std::unique_ptr<Ui::CViewSymbol> ui_;
  CKestraCmdContext* command_;
  CToolLauncher* launcher_;
  std::unique_ptr<C5XBrowserUI> browser_;
};

// "Location" (template 13037): asks which folder of the footprint search path to use when the
// chosen footprint's drawing is found in more than one. The found items and the footprint
// component that answers for them are borrowed for the modal run. After the dialog has ended,
// ChosenText() is the chosen folder, or "" when the user cancelled. UI thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/CDialog.h"
#include "outside/GridControl.h"

class CFootprint;
class CFootprintItem;

namespace Ui {
class CLocationDlg;
}

class CLocationDlg final : public CDialog {
  Q_OBJECT

 public:
  enum : int { IDD = 13037, IDC_GRID = 13050 };

  CLocationDlg(const std::vector<CFootprintItem*>& items, CFootprint* footprints,
               QWidget* parent = nullptr);
  ~CLocationDlg() override;

  const std::string& ChosenText() const { return chosen_; }
  CGXGridWnd& Grid() { return grid_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  std::unique_ptr<Ui::CLocationDlg> ui_;
  std::vector<CFootprintItem*> items_;
  CFootprint* footprints_;
  CGXGridWnd grid_;
  std::string chosen_;
};

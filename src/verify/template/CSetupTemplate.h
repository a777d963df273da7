// "Setup Template" (dialog 13001): the librarian creates a new template, edits an existing
// one in the template editor, or extracts a template from a part chosen in the library and
// cell choosers, sees its text, and is told how far the part departs from it.
//
// Constructed by the command object with itself and its launcher (both borrowed for the
// dialog's life; the launcher is not used), run with DoModal, ended only by Close (code 8):
// OK can be used again. Owns the browser. A failure of the template engine is shown and the
// dialog stays usable. UI thread only.
#pragma once

#include <memory>
#include <string>

#include "framework/CDialog.h"

class C5XBrowserUI;
class CKestraCmdContext;
class CToolLauncher;

namespace Ui {
class CSetupTemplate;
}

class CSetupTemplate final : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 13001,
    IDC_OK = 1,
    IDC_CLOSE = 8,
    IDC_HELP = 9,
    IDC_NEW_TEMPLATE = 13000,
    IDC_EDIT_TEMPLATE = 13001,
    IDC_EXTRACT_TEMPLATE = 13002,
  };
  static constexpr unsigned kHelpTopic = 143371;

  CSetupTemplate(CKestraCmdContext* command, CToolLauncher* launcher, QWidget* parent = nullptr);
  ~CSetupTemplate() override;

  C5XBrowserUI* Browser() const { return browser_.get(); }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(int id) override;
  void OnHelp() override;

 private:
  void EnableChoosers(bool enable);
  void CreateTemplate();
  void EditTemplate();
  void ExtractTemplate(const std::string& libraryList, const std::string& library,
                       const std::string& cell);
  // Checks the part against the template just extracted from it; asks whether to show the
  // differences when there are any.
  void CheckAgainstExtracted(const std::string& templatePath, const std::string& libraryList,
                             const std::string& library, const std::string& cell);

  std::unique_ptr<Ui::CSetupTemplate> ui_;
  CKestraCmdContext* command_;
  [[maybe_unused]] CToolLauncher* launcher_;
  std::unique_ptr<C5XBrowserUI> browser_;
};

// The template editor's window: the entries of a template's three sections (symbol
// information, pin loads, property values), each on a page with its table and fields to add,
// change and remove entries, and Save / Save As. Edits change the template handed in (owned
// by the caller); a close with unsaved edits asks first, so nothing is lost unasked. The
// template library's refusals (a value a template cannot hold, a file that cannot be
// written) are shown as they are and change nothing. UI thread only.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "framework/CDialog.h"
#include "outside/SuiteExport.h"

class RTemplateFile;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTreeWidget;

class TemplateEditorDialog final : public CDialog {
  Q_OBJECT

 public:
  enum Section : int { kSymbolInformation = 0, kPinLoads = 1, kPropertyValues = 2 };
  // Controls of section s are kSectionBase + kSectionStep * s + one of the offsets below.
  enum : int {
    IDD = 13200,
    IDC_CLOSE = 2,
    IDC_SAVE = 13201,
    IDC_SAVE_AS = 13202,
    IDC_SECTIONS = 13203,
    kSectionBase = 13210,
    kSectionStep = 10,
    kTable = 0,
    kName = 1,
    kFirstValue = 2,  // and kFirstValue + 1 for the output load
    kAdd = 4,
    kChange = 5,
    kRemove = 6,
    kHint = 7,
  };
  static constexpr int Id(Section section, int offset) {
    return int{kSectionBase} + int{kSectionStep} * static_cast<int>(section) + offset;
  }

  // templateFile and path are the caller's; path is empty for a template not saved yet, which
  // Save then offers to write in folder.
  TemplateEditorDialog(RTemplateFile& templateFile, std::string& path, std::string folder,
                       QWidget* parent);

  bool IsModified() const { return modified_; }
  // True once the template has been written to a file in this session.
  bool WasSaved() const { return saved_; }
  // The entries shown on a section's page, one row of texts each. Exported alone: the
  // dialog is reached from outside the suite as a CDialog, its entries through this.
  KESTRA_SUITE_API std::vector<std::vector<std::string>> Rows(Section section) const;

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id) override;
  void OnCancel() override;

 private:
  struct Page {
    QTreeWidget* table = nullptr;
    QComboBox* name = nullptr;
    std::vector<QLineEdit*> values;
    QLabel* hint = nullptr;
  };

  void BuildPage(Section section, QTabWidget* tabs);
  void Refill(Section section, const std::string& select = {});
  void ShowSelected(Section section);
  void ShowHint(Section section);
  void AddEntry(Section section);
  void ChangeEntry(Section section);
  void RemoveEntry(Section section);
  // Applies an edit through the template library; false (after showing why) when refused.
  bool Apply(const std::function<void()>& edit);
  bool Save();
  bool SaveAs();
  void ShowTitle();

  RTemplateFile& template_;
  std::string& path_;
  std::string folder_;
  std::array<Page, 3> pages_;
  bool modified_ = false;
  bool saved_ = false;
};

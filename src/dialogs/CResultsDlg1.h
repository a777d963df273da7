// "Verification Results" for several parts of one library (template 209): a status per
// part as the packaging run's results give it, the passed and failed counts, and "View Log
// File" for the selected part.
//
// The caller constructs it from the run's results, one per part in the run's order (they are
// copied), runs DoModal and destroys it. The command object, launcher and browser are borrowed
// for that time. UI thread only; GetPartFileName, ReadPartVerdict and GetPartVerdict need no
// window and read a part's files afresh.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/CDialog.h"

class CKestraCmdContext;
class CToolLauncher;
class C5XBrowserUI;
struct VerifyResult;

namespace Ui {
class CResultsDlg1;
}

class CResultsDlg1 final : public CDialog {
  Q_OBJECT

 public:
  enum : int {
    IDD = 209,
    IDC_PART_LIST = 1103,
    IDC_SELECT_HINT = 1119,
    IDC_SUMMARY = 1120,
    IDC_VIEW_LOG = 13052,
  };
  // Verdict codes of one part.
  enum : int { kPassed = 0, kFailed = 1, kUnknown = 2 };

  CResultsDlg1(CKestraCmdContext* command, CToolLauncher* launcher, C5XBrowserUI* browser,
               const std::vector<VerifyResult>& results, std::string library,
               QWidget* parent = nullptr);
  ~CResultsDlg1() override;

  // The file name of a part: the cell's last path component under its library, mapped to
  // its on-disk form when the name mapper can.
  std::string GetPartFileName(const std::string& cell);
  // Reads a part's status file and, when it passed, its log; sets the with-warnings flag.
  int ReadPartVerdict(const std::string& statusFile, const std::string& logFile);
  // The verdict of a part from projectPath + "temp/" + P + ".stat" and ".log".
  int GetPartVerdict(const std::string& cell);
  // 1 when the part read last passed and its log mentions warnings or errors.
  int GetWithWarnings() const { return withWarnings_; }

  // Parts whose tool did not end normally, with why ("ended by signal 9 (Killed)"): the list
  // says why beside their unknown status. Before opening.
  void SetUnknownParts(std::map<std::string, std::string> causes) { unknown_ = std::move(causes); }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id) override;

 private:
  void FillPartList();
  void OnViewLogFile();
  std::string PartFilePath(const std::string& partFileName, const char* extension) const;
  QString StatusText(const VerifyResult& result) const;

  std::unique_ptr<Ui::CResultsDlg1> ui_;
  std::vector<VerifyResult> results_;  // complete where the members are defined
  std::string library_;
  int withWarnings_ = 0;
  C5XBrowserUI* browser_;
  CKestraCmdContext* command_;
  CToolLauncher* launcher_;
  int passed_ = 0;
  int failed_ = 0;
  std::map<std::string, std::string> unknown_;  // by cell
};

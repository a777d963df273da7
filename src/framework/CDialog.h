// Dialog base of the framework layer: a QDialog built from a Qt Designer template whose
// widgets carry the system's numeric control ids (dynamic property "ctrlId").
//
// A derived dialog calls its generated setupUi(this) in its constructor; controls are then
// reached by id. DoModal runs the dialog modally and returns the code given to EndDialog.
// Button clicks reach OnCommand (ids 1 and 2 map to OnOK and OnCancel); Escape and the
// close box raise OnCancel; window messages posted with PostMessage reach OnMessage on the
// UI thread. UI thread only. Widgets are owned by the dialog through Qt parenting.
#pragma once

#include <QDialog>
#include <string>

#include "framework/TemplateGeometry.h"
#include "outside/OutsideTypes.h"

class CDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CDialog(int templateId, QWidget* parent = nullptr);
  ~CDialog() override;

  int DoModal();
  void EndDialog(int code);
  int TemplateId() const { return templateId_; }
  // True from the start of DoModal until its modal loop has ended.
  bool HasWindow() const { return hasWindow_; }
  HWND GetSafeHwnd() { return this; }

  QWidget* GetDlgItem(int id) const;
  template <class T>
  T* DlgItem(int id) const {
    return qobject_cast<T*>(GetDlgItem(id));
  }
  void CheckDlgButton(int id, bool checked);
  bool IsDlgButtonChecked(int id) const;
  void EnableDlgItem(int id, bool enable);
  bool IsDlgItemEnabled(int id) const;
  void ShowDlgItem(int id, bool show);
  bool IsDlgItemVisible(int id) const;
  void SetDlgItemText(int id, const std::string& text);
  std::string GetDlgItemText(int id) const;
  void GotoDlgCtrl(int id);
  // Presses a button as the user would (tests and keyboard shortcuts use it).
  void ClickDlgItem(int id);

  // The rectangle of a control in the dialog's client coordinates.
  CRect GetDlgItemRect(int id) const;

 protected:
  virtual bool OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  // A click on a button other than 1 (OK) and 2 (Cancel); true when handled.
  virtual bool OnCommand(int id);
  // A window message (PostMessage/SendMessage); the result goes back to SendMessage.
  virtual LRESULT OnMessage(unsigned message, WPARAM wParam, LPARAM lParam);
  // The help key (F1).
  virtual void OnHelp();
  // For OnCommand of a dialog with Close and Help buttons: closeId ends the dialog with
  // closeCode, helpId calls OnHelp; true when id was one of them.
  bool OnCloseOrHelp(int id, int closeId, int helpId, int closeCode);

  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void reject() override;
  void accept() override;

 private:
  void WireButtons();
  void Dispatch(int id);

  int templateId_;
  bool hasWindow_ = false;
  bool wired_ = false;
  TemplateGeometry geometry_;
};

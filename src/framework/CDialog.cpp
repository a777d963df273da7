#include "framework/CDialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

#include "framework/WindowMessage.h"

namespace {
constexpr const char* kCtrlId = "ctrlId";
}

CDialog::CDialog(int templateId, QWidget* parent) : QDialog(parent), templateId_(templateId) {
  setProperty("templateId", templateId);
}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
  WireButtons();
  hasWindow_ = true;
  setResult(0);
  // Every run opens as the template places it, whatever size the last run was left at.
  if (geometry_.Recorded()) {
    resize(geometry_.Size());
    geometry_.Apply(geometry_.Size());
  }
  OnInitDialog();
  // A template places its controls at fixed points: the template's size is the least, and a
  // larger dialog moves and grows them in proportion (a long library list needs the room).
  geometry_.Record(*this);
  if (geometry_.Recorded()) setMinimumSize(geometry_.Size());
  const int code = exec();
  hasWindow_ = false;
  return code;
}

void CDialog::EndDialog(int code) { done(code); }

void CDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  geometry_.Apply(size());
}

QWidget* CDialog::GetDlgItem(int id) const {
  const auto widgets = findChildren<QWidget*>();
  for (QWidget* w : widgets) {
    const QVariant v = w->property(kCtrlId);
    if (v.isValid() && v.toInt() == id) return w;
  }
  return nullptr;
}

void CDialog::CheckDlgButton(int id, bool checked) {
  if (auto* b = DlgItem<QAbstractButton>(id)) b->setChecked(checked);
}

bool CDialog::IsDlgButtonChecked(int id) const {
  auto* b = DlgItem<QAbstractButton>(id);
  return b && b->isChecked();
}

void CDialog::EnableDlgItem(int id, bool enable) {
  if (QWidget* w = GetDlgItem(id)) w->setEnabled(enable);
}

bool CDialog::IsDlgItemEnabled(int id) const {
  QWidget* w = GetDlgItem(id);
  return w && w->isEnabled();
}

void CDialog::ShowDlgItem(int id, bool show) {
  if (QWidget* w = GetDlgItem(id)) w->setVisible(show);
}

bool CDialog::IsDlgItemVisible(int id) const {
  QWidget* w = GetDlgItem(id);
  return w && !w->isHidden();
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
  QWidget* w = GetDlgItem(id);
  const QString t = QString::fromStdString(text);
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    e->setText(t);
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
    p->setPlainText(t);
  } else if (auto* x = qobject_cast<QTextEdit*>(w)) {
    x->setPlainText(t);
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    b->setText(t);
  } else if (auto* l = qobject_cast<QLabel*>(w)) {
    l->setText(t);
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    c->setCurrentText(t);
  } else if (w) {
    w->setWindowTitle(t);
  }
}

std::string CDialog::GetDlgItemText(int id) const {
  QWidget* w = GetDlgItem(id);
  QString t;
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    t = e->text();
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
    t = p->toPlainText();
  } else if (auto* x = qobject_cast<QTextEdit*>(w)) {
    t = x->toPlainText();
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    t = b->text();
  } else if (auto* l = qobject_cast<QLabel*>(w)) {
    t = l->text();
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    t = c->currentText();
  }
  return t.toStdString();
}

void CDialog::GotoDlgCtrl(int id) {
  if (QWidget* w = GetDlgItem(id)) w->setFocus();
}

void CDialog::ClickDlgItem(int id) {
  if (auto* b = DlgItem<QAbstractButton>(id)) b->click();
}

CRect CDialog::GetDlgItemRect(int id) const {
  QWidget* w = GetDlgItem(id);
  if (!w) return {};
  const QPoint topLeft = w->mapTo(this, QPoint(0, 0));
  return {topLeft.x(), topLeft.y(), topLeft.x() + w->width(), topLeft.y() + w->height()};
}

bool CDialog::OnInitDialog() { return true; }

void CDialog::OnOK() { EndDialog(1); }

void CDialog::OnCancel() { EndDialog(2); }

bool CDialog::OnCommand(int) { return false; }

LRESULT CDialog::OnMessage(unsigned, WPARAM, LPARAM) { return 0; }

void CDialog::OnHelp() {}

bool CDialog::OnCloseOrHelp(int id, int closeId, int helpId, int closeCode) {
  if (id == closeId) {
    EndDialog(closeCode);
    return true;
  }
  if (id == helpId) {
    OnHelp();
    return true;
  }
  return false;
}

bool CDialog::event(QEvent* e) {
  if (e->type() == WindowMessageEvent::EventType()) {
    auto* m = static_cast<WindowMessageEvent*>(e);
    m->result = OnMessage(m->message, m->wParam, m->lParam);
    return true;
  }
  return QDialog::event(e);
}

void CDialog::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    OnHelp();
    return;
  }
  QDialog::keyPressEvent(e);
}

void CDialog::reject() { OnCancel(); }

void CDialog::accept() { OnOK(); }

void CDialog::WireButtons() {
  if (wired_) return;
  wired_ = true;
  const auto buttons = findChildren<QAbstractButton*>();
  for (QAbstractButton* b : buttons) {
    const QVariant v = b->property(kCtrlId);
    if (!v.isValid()) continue;
    const int id = v.toInt();
    connect(b, &QAbstractButton::clicked, this, [this, id] { Dispatch(id); });
  }
}

void CDialog::Dispatch(int id) {
  if (id == 1) {
    OnOK();
  } else if (id == 2) {
    OnCancel();
  } else {
    OnCommand(id);
  }
}

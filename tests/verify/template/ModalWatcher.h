// Answers the modal windows a dialog under test opens from its own modal loop: every 20 ms
// the active modal dialog, when it has one of the watched template ids, is handed to its
// handler, which reads it and closes it. UI thread only.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <map>

#include "framework/CDialog.h"

class ModalWatcher {
 public:
  using Handler = std::function<void(CDialog&)>;

  ModalWatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(20);
    clock_.start();
  }
  // handler must close the dialog (done, EndDialog or a click on a closing button).
  void On(int templateId, Handler handler) { handlers_[templateId] = std::move(handler); }
  int Seen(int templateId) const {
    const auto it = seen_.find(templateId);
    return it == seen_.end() ? 0 : it->second;
  }

 private:
  void Poll() {
    auto* modal = qobject_cast<CDialog*>(QApplication::activeModalWidget());
    if (!modal || !modal->isVisible()) return;
    const auto it = handlers_.find(modal->TemplateId());
    if (it != handlers_.end()) {
      ++seen_[modal->TemplateId()];
      it->second(*modal);
      return;
    }
    // A window nobody expected must fail the test, not hang it.
    if (clock_.elapsed() > 60000) modal->done(2);
  }

  QTimer timer_;
  QElapsedTimer clock_;
  std::map<int, Handler> handlers_;
  std::map<int, int> seen_;
};

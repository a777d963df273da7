#include "OwnerRecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include "framework/WindowMessage.h"
#include "outside/CToolLauncher.h"

bool OwnerRecorder::event(QEvent* e) {
  if (e->type() != WindowMessageEvent::EventType()) return QWidget::event(e);
  auto* m = static_cast<WindowMessageEvent*>(e);
  if (m->message == WM_TOOL_PROGRESS) {
    ++progressMessages;
    pieces.push_back(launcher_.GetProgressDialogDetail());
  } else if (m->message == WM_TOOL_ENDED) {
    ++endMessages;
    endWParams.push_back(m->wParam);
  }
  m->result = 1;
  return true;
}

bool OwnerRecorder::WaitForEnd(int timeoutMs, int settleMs) {
  QElapsedTimer clock;
  clock.start();
  while (endMessages == 0 && clock.elapsed() < timeoutMs)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  Pump(settleMs);
  return endMessages > 0;
}

std::string OwnerRecorder::Text() const {
  std::string all;
  for (const auto& p : pieces) all += p;
  return all;
}

void Pump(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

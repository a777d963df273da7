#include "framework/WindowMessage.h"

#include <QCoreApplication>
#include <QWidget>

WindowMessageEvent::WindowMessageEvent(unsigned msg, WPARAM w, LPARAM l)
    : QEvent(EventType()), message(msg), wParam(w), lParam(l) {}

QEvent::Type WindowMessageEvent::EventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

bool PostMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam) {
  if (!window) return false;
  QCoreApplication::postEvent(window, new WindowMessageEvent(message, wParam, lParam));
  return true;
}

LRESULT SendMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam) {
  if (!window) return 0;
  WindowMessageEvent event(message, wParam, lParam);
  QCoreApplication::sendEvent(window, &event);
  return event.result;
}

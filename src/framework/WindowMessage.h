// Window messages between the launcher and dialogs, delivered as Qt events on the UI thread.
#pragma once

#include <QEvent>

#include "outside/OutsideTypes.h"

class WindowMessageEvent : public QEvent {
 public:
  WindowMessageEvent(unsigned message, WPARAM wParam, LPARAM lParam);
  static QEvent::Type EventType();

  unsigned message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;  // set by the handler; SendMessage returns it
};

// Queues a message for the window; it is handled later on the UI thread. Thread-safe.
// Returns false when there is no window.
bool PostMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam);
// Delivers a message at once and returns the handler's result (0 without a handler).
LRESULT SendMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam);

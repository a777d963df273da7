// Types shared by the declarations of the suite's outside components.
#pragma once

#include <cstdint>

class QWidget;

// The native handle of a window: here the Qt widget that receives window messages.
using HWND = QWidget*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A rectangle in client pixels: left, top, right, bottom.
struct CRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Window messages the tool launcher posts to an owner window (user range 0x400 + n).
constexpr unsigned WM_USER = 0x400;
constexpr unsigned WM_TOOL_ENDED = WM_USER + 101;     // wParam 1: the run has ended
constexpr unsigned WM_TOOL_PROGRESS = WM_USER + 102;  // new detail: GetProgressDialogDetail

// The owner side of a tool run: what every verification dialog does with the launcher's two
// window messages while CProgressDlg runs modally.
//
// An owner starts its tool with a launcher start operation that takes its window, sets the
// progress dialog's launcher, shows it with DoModal, and forwards the messages from its
// OnMessage:
//
//   case WM_TOOL_PROGRESS: return HandleToolProgress(*launcher_, progress_);
//   case WM_TOOL_ENDED:    return HandleToolEnded(wParam, progress_);
//
// DoModal then returns 1 (the tool ended) or 2 (the user cancelled and the tool ended).
// UI thread only; nothing here owns the launcher or the dialog.
#pragma once

#include <string>

#include "OutsideTypes.h"

class CProgressDlg;
class CToolLauncher;

// WM_TOOL_PROGRESS: fetches the newest detail from the launcher and appends it to the pane
// when the progress dialog is open, else keeps it as the pending detail (replacing any
// earlier one). Returns 1.
LRESULT HandleToolProgress(CToolLauncher& launcher, CProgressDlg& progress);

// The second half of HandleToolProgress, for owners that fetch the text themselves (to log
// or echo it as well): queues it for the open dialog's pane (shown at the event loop's next
// pass, with every piece that came meanwhile), else makes it the pending detail.
LRESULT DeliverToolProgress(const std::string& detail, CProgressDlg& progress);

// WM_TOOL_ENDED: ignored unless wParam is 1. When the progress dialog is open it ends with 2
// if the user cancelled (the cancelled flag is cleared) and with 1 otherwise. Returns 1.
LRESULT HandleToolEnded(WPARAM wParam, CProgressDlg& progress);

// As above, for owners that ran the tool in another current directory: with wParam 1 the
// current directory first goes back to savedDirectory when that text is not empty (also
// when the progress dialog has no window). A directory that no longer exists is left alone.
LRESULT HandleToolEnded(WPARAM wParam, CProgressDlg& progress, const std::string& savedDirectory);

// The progress dialog's side of a tool run: what becomes of the launcher's two window
// messages while CProgressDlg runs modally.
//
// An owner starts its tool with a launcher start operation that takes its window, sets the
// progress dialog's launcher, shows it with DoModal, and passes the messages from its
// OnMessage to ObserveToolMessage with a ProgressDialogSink (verify/), which calls these.
// DoModal then returns 1 (the tool ended) or 2 (the user cancelled and the tool ended).
// UI thread only; nothing here owns the launcher or the dialog.
#pragma once

#include <string>

#include "outside/OutsideTypes.h"

class CProgressDlg;

// A progress text: queued for the open dialog's pane (shown at the event loop's next pass,
// with every piece that came meanwhile), else kept as the pending detail (replacing any
// earlier one). Returns 1.
LRESULT DeliverToolProgress(const std::string& detail, CProgressDlg& progress);

// WM_TOOL_ENDED: ignored unless wParam is 1. When the progress dialog is open it ends with 2
// if the user cancelled (the cancelled flag is cleared) and with 1 otherwise. Returns 1.
LRESULT HandleToolEnded(WPARAM wParam, CProgressDlg& progress);

// As above, for owners that ran the tool in another current directory: with wParam 1 the
// current directory first goes back to savedDirectory when that text is not empty (also
// when the progress dialog has no window). A directory that no longer exists is left alone.
LRESULT HandleToolEnded(WPARAM wParam, CProgressDlg& progress, const std::string& savedDirectory);

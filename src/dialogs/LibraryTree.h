// The library-and-cell tree of the verification dialogs: the browser of the command's
// project, the library-type chooser when the project is not a design project, and the tick
// tree with the nine tree icons and the bitmap strip filled into the dialog's image lists.
// UI thread.
#pragma once

#include <memory>

class C5XBrowserUI;
class CDialog;
class CImageList;
class CKestraCmdContext;

// The browser, owned by the caller (it must outlive nothing else: the tree's widgets belong
// to dialog). option1 and option2 are handed to the tree as the dialog's own values.
std::unique_ptr<C5XBrowserUI> ShowLibraryTree(CDialog& dialog, const CKestraCmdContext& command,
                                              CImageList& bitmaps, CImageList& icons, int option1,
                                              int option2);

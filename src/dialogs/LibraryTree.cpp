#include "dialogs/LibraryTree.h"

#include "context/CKestraCmdContext.h"
#include "dialogs/DialogResources.h"
#include "framework/CDialog.h"
#include "framework/CImageList.h"
#include "outside/C5XBrowserUI.h"
#include "outside/CFilePath.h"

namespace {

constexpr int kIconIds[] = {13026, 13021, 13022, 13016, 13016, 13034, 13008, 154, 155};
constexpr int kBitmapStrip = 13028;
constexpr QRgb kMagenta = 0xFF00FF;

}  // namespace

std::unique_ptr<C5XBrowserUI> ShowLibraryTree(CDialog& dialog, const CKestraCmdContext& command,
                                              CImageList& bitmaps, CImageList& icons, int option1,
                                              int option2) {
  InitDialogResources();
  icons.Create(16, 16, 0, 11);
  for (int id : kIconIds) icons.Add(LoadIconResource(id));
  bitmaps.CreateFromStrip(LoadBitmapResource(kBitmapStrip), 16, 1, kMagenta);

  const std::string projectDir = command.GetProjectPath();
  auto browser = std::make_unique<C5XBrowserUI>(projectDir, command.GetProjectName());
  if (CFilePath::IsDesignProject(projectDir + "refqvd.lib") == 0) {
    browser->ShowLibType(dialog.GetSafeHwnd(), {15, 25, 150, 43}, {15, 45, 190, 63});
  }
  browser->ShowBrowserTree(dialog.GetSafeHwnd(), 4, {20, 65, 241, 288}, {0, 0, 0, 0}, &bitmaps,
                           &icons, "", option1, option2);
  return browser;
}

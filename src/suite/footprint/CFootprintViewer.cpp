#include "base/QuoteArgument.h"
#include "outside/CFootprint.h"
#include "outside/CToolLauncher.h"
#include "projectfile/SpiText.h"
#include "suite/footprint/CFootprintStore.h"

// Apart from the list: starting the viewer needs the launcher, and the list must build
// without it for the headless verbs.
int CFootprint::LaunchViewer(std::string product, std::string project, CToolLauncher* launcher,
                             std::string location, std::string verifyFile) {
  if (!launcher) return -1;
  const CFootprintItem* chosen = nullptr;
  for (const CFootprintItem& item : store_->items) {
    if (!spi::EqualsIgnoringCase(item.fileName, searchedFile_)) continue;
    if (location.empty() || *item.folder == location) {
      chosen = &item;
      break;
    }
  }
  if (!chosen) return -1;
  const std::string file = *chosen->folder + "/" + chosen->fileName;
  std::string args = " -proj " + QuoteArgument(project) + " -symbol " + QuoteArgument(file);
  if (!verifyFile.empty()) args += " -verify " + QuoteArgument(verifyFile);
  return launcher->launchPavrel(args, product);
}

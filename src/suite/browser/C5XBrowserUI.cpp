#include "outside/C5XBrowserUI.h"

#include <QComboBox>
#include <QLabel>
#include <iostream>

#include "libformat/LibraryTree.h"
#include "outside/C5XBrowserData.h"
#include "suite/browser/ChooserChain.h"
#include "suite/browser/IssueReporter.h"
#include "suite/browser/LibraryCheckTree.h"

// The browser's state: the two library trees, which of them is in use, the choosers and the
// tick-box tree. Widgets belong to the dialog's window; connections end with this object.
struct C5XBrowserUI::Impl {
  explicit Impl(const std::string& projectPath)
      : data(projectPath),
        reporter(std::cerr),
        chain([this]() -> LibraryTree& { return Current(); }, [this] { Report(); }),
        tree([this]() -> LibraryTree& { return Current(); }, [this] { Report(); }) {}

  LibraryTree& Current() { return refSelected ? *data.GetRefTree() : *data.GetBuildTree(); }
  void Report() { reporter.ReportNew(Current()); }

  void ChooseType(bool reference) {
    if (reference == refSelected) return;
    refSelected = reference;
    tree.Reload();
    chain.Fill(ChooserChain::kLibrary);
  }

  const LibraryEntry* FindAnywhere(const std::string& library) {
    if (const LibraryEntry* entry = Current().FindLibrary(library)) return entry;
    return (refSelected ? *data.GetBuildTree() : *data.GetRefTree()).FindLibrary(library);
  }

  C5XBrowserData data;
  IssueReporter reporter;
  bool refSelected = false;
  ChooserChain chain;
  LibraryCheckTree tree;
  QPointer<QComboBox> typeChooser;
  QPointer<QLabel> typeLabel;
  QObject context;
};

C5XBrowserUI::C5XBrowserUI(std::string projectPath, std::string /*projectName*/)
    : impl_(std::make_unique<Impl>(projectPath)) {}

C5XBrowserUI::~C5XBrowserUI() = default;

void C5XBrowserUI::ShowLibType(HWND parent, CRect label, CRect chooser) {
  if (parent == nullptr) return;
  delete impl_->typeChooser;
  delete impl_->typeLabel;
  auto* text = new QLabel("Library Type:", parent);
  text->setGeometry(label.left, label.top, label.Width(), label.Height());
  text->show();
  auto* combo = new QComboBox(parent);
  combo->setObjectName("libraryTypeChooser");
  combo->addItems({"Project Libraries", "Reference Libraries"});
  combo->setCurrentIndex(impl_->refSelected ? 1 : 0);
  combo->setGeometry(chooser.left, chooser.top, chooser.Width(), chooser.Height());
  combo->show();
  impl_->typeLabel = text;
  impl_->typeChooser = combo;
  Impl* impl = impl_.get();
  QObject::connect(combo, &QComboBox::currentIndexChanged, &impl_->context,
                   [impl](int index) { impl->ChooseType(index == 1); });
}

void C5XBrowserUI::ShowBrowserCombo(HWND parent, int kind, CRect chooser, CRect label,
                                    int viewType) {
  impl_->chain.Show(parent, kind, chooser, label, viewType);
}

void C5XBrowserUI::ShowBrowserTree(HWND parent, int /*kind*/, CRect tree, CRect /*other*/,
                                   CImageList* /*bitmaps*/, CImageList* icons, std::string text,
                                   int /*option1*/, int /*option2*/) {
  impl_->tree.Show(parent, tree, icons, text);
}

void C5XBrowserUI::FillCombo(int kind) { impl_->chain.Fill(kind); }

void C5XBrowserUI::EnableBrowserCombo(int enable, int kind) {
  impl_->chain.Enable(enable != 0, kind);
}

void C5XBrowserUI::SetViewFilter(int viewType) { impl_->chain.SetViewFilter(viewType); }

void C5XBrowserUI::SetSelectedLib(std::string library) {
  impl_->chain.SetSelectedLib(std::move(library));
}

void C5XBrowserUI::SetSelectedCell(std::string cell) {
  impl_->chain.SetSelectedCell(std::move(cell));
}

std::string C5XBrowserUI::GetSelectedLib() { return impl_->chain.Library(); }
std::string C5XBrowserUI::GetSelectedCell() { return impl_->chain.Cell(); }
std::string C5XBrowserUI::GetSelectedView() { return impl_->chain.View(); }

std::string C5XBrowserUI::GetSelectedLibPath(std::string library) {
  const LibraryEntry* entry = impl_->FindAnywhere(library);
  return entry ? entry->directory : std::string();
}

void C5XBrowserUI::GetSelectedLibList(std::vector<std::string>& libraries) {
  libraries.clear();
  if (impl_->tree.IsShown()) {
    libraries = impl_->tree.SelectedLibraries();
  } else if (!impl_->chain.Library().empty()) {
    libraries.push_back(impl_->chain.Library());  // a dialog with choosers only
  }
}

void C5XBrowserUI::GetSelectedCellList(std::string library, std::vector<std::string>& cells) {
  cells.clear();
  if (impl_->tree.IsShown()) {
    cells = impl_->tree.SelectedCells(library);
  } else if (library == impl_->chain.Library() && !impl_->chain.Cell().empty()) {
    cells.push_back(impl_->chain.Cell());
  }
}

void C5XBrowserUI::GetCellList(std::string library, std::vector<std::string>& cells) {
  cells.clear();
  for (const CellEntry& cell : impl_->Current().Cells(library)) {
    if (cell.usable) cells.push_back(cell.name);
  }
  impl_->Report();
}

int C5XBrowserUI::IsRefLibSelected() { return impl_->refSelected ? 1 : 0; }

int C5XBrowserUI::IsLibExisting(std::string library) {
  const LibraryEntry* entry = impl_->FindAnywhere(library);
  return entry != nullptr && entry->directoryExists ? 1 : 0;
}

void C5XBrowserUI::ExchangeViewChooser(C5XBrowserUI& other) {
  impl_->chain.ExchangeViewChooser(other.impl_->chain);
}

void C5XBrowserUI::CopyViewChooserSetting(C5XBrowserUI& source) {
  impl_->chain.FollowSelection(source.impl_->chain);
}

C5XBrowserData* C5XBrowserUI::GetBrowserData() { return &impl_->data; }

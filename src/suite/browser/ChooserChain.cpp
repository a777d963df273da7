#include "suite/browser/ChooserChain.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <iostream>

#include "libformat/LibraryTree.h"
#include "libformat/ViewType.h"
#include "suite/browser/BrowserText.h"

namespace {

constexpr int kChooserHeight = 24;
constexpr int kLabelGap = 6;  // between a label and its chooser
const char* const kObjectNames[] = {"", "libraryChooser", "cellChooser", "viewChooser"};
const char* const kLabels[] = {"", "Library:", "Cell:", "View:"};

// Adds one entry; disabled entries are shown but cannot be chosen.
void AddEntry(QComboBox& combo, const std::string& name, bool enabled) {
  combo.addItem(DisplayText(name));
  combo.setItemData(combo.count() - 1, NameBytes(name), kNameRole);
  if (enabled) return;
  if (auto* model = qobject_cast<QStandardItemModel*>(combo.model()))
    model->item(combo.count() - 1)->setEnabled(false);
}

bool IsEnabledEntry(const QComboBox& combo, int index) {
  const auto* model = qobject_cast<const QStandardItemModel*>(combo.model());
  return model == nullptr || model->item(index)->isEnabled();
}

}  // namespace

ChooserChain::ChooserChain(std::function<LibraryTree&()> currentTree, std::function<void()> changed)
    : currentTree_(std::move(currentTree)), changed_(std::move(changed)) {}

QComboBox* ChooserChain::Chooser(int kind) const {
  return ValidKind(kind) ? slots_[kind].combo.data() : nullptr;
}

std::string& ChooserChain::SelectionOf(int kind) {
  return kind == kLibrary ? selection_->library : kind == kCell ? selection_->cell : view_;
}

void ChooserChain::Selection::Notify() {
  // Copies first: a follower's refill may end another follower.
  const auto hooks = followers;
  for (const auto& weak : hooks) {
    if (const auto hook = weak.lock()) (*hook)();
  }
  std::erase_if(followers, [](const auto& weak) { return weak.expired(); });
}

void ChooserChain::Connect(int kind) {
  QComboBox* combo = Chooser(kind);
  if (combo == nullptr) return;
  QObject::connect(combo, &QComboBox::currentIndexChanged, &context_,
                   [this, kind] { Chosen(kind); });
}

void ChooserChain::Show(QWidget* parent, int kind, CRect chooser, CRect label, int viewType) {
  if (!ValidKind(kind) || parent == nullptr) {
    std::cerr << "library browser: no chooser of kind " << kind << " can be shown\n";
    return;
  }
  Slot& slot = slots_[kind];
  delete slot.combo;  // showing a kind again replaces its chooser
  delete slot.label;
  // The rectangle's height is the dropped-down list's in the dialogs' terms; the closed
  // chooser keeps a normal height.
  auto* combo = new QComboBox(parent);
  combo->setObjectName(kObjectNames[kind]);
  combo->setGeometry(chooser.left, chooser.top, chooser.Width(),
                     std::min(kChooserHeight, std::max(chooser.Height(), 1)));
  combo->setMaxVisibleItems(std::max(5, chooser.Height() / 16));
  combo->show();
  slot.combo = combo;
  if (label.Width() > 0 && label.Height() > 0) {
    auto* text = new QLabel(QString::fromLatin1(kLabels[kind]), parent);
    // A label rectangle that runs into its chooser on the same row ends before it, so that
    // the label never covers the chooser or takes its clicks.
    int right = label.right;
    const bool sameRow = label.top < combo->geometry().bottom() && combo->y() < label.bottom;
    if (sameRow && label.left < chooser.left && right > chooser.left - kLabelGap) {
      right = chooser.left - kLabelGap;
    }
    text->setGeometry(label.left, label.top, right - label.left, label.Height());
    text->show();
    slot.label = text;
  }
  if (kind == kView) SetViewFilter(viewType);
  Connect(kind);
  Fill(kind);
}

void ChooserChain::Chosen(int kind) {
  QComboBox* combo = Chooser(kind);
  SelectionOf(kind) = combo ? NameOf(combo->currentData(kNameRole)) : std::string();
  if (kind < kView) Fill(kind + 1);
  if (kind == kCell) selection_->Notify();  // Fill(kView) leaves library and cell as they are
  changed_();
}

void ChooserChain::Fill(int kind) {
  for (int k = std::max(kind, int{kLibrary}); k <= kView; ++k) {
    // Choosers not shown keep their preselection and read nothing from disk.
    if (slots_[k].combo) FillOne(k);
  }
  if (kind <= kCell) selection_->Notify();
  changed_();
}

void ChooserChain::FillOne(int kind) {
  LibraryTree& tree = currentTree_();
  std::vector<std::pair<std::string, bool>> entries;
  if (kind == kLibrary) {
    for (const LibraryEntry& lib : tree.Libraries())
      entries.emplace_back(lib.name, lib.Choosable());
  } else if (kind == kCell && !Library().empty()) {
    for (const CellEntry& cell : tree.Cells(Library()))
      entries.emplace_back(cell.name, cell.usable);
  } else if (kind == kView && !viewSource_->library.empty() && !viewSource_->cell.empty()) {
    for (const std::string& view : tree.Views(viewSource_->library, viewSource_->cell)) {
      if (ViewMatchesType(view, viewType_)) entries.emplace_back(view, true);
    }
  }
  // The selection stays when it is still offered; else the first choosable entry.
  std::string& selection = SelectionOf(kind);
  bool kept = false;
  std::string first;
  for (const auto& [name, enabled] : entries) {
    kept = kept || (enabled && name == selection);
    if (enabled && first.empty()) first = name;
  }
  if (!kept) selection = first;
  QComboBox* combo = Chooser(kind);
  if (combo == nullptr) return;
  const QSignalBlocker block(combo);
  combo->clear();
  for (const auto& [name, enabled] : entries) AddEntry(*combo, name, enabled);
  const int index = combo->findData(NameBytes(selection), kNameRole);
  combo->setCurrentIndex(index >= 0 && IsEnabledEntry(*combo, index) ? index : -1);
}

void ChooserChain::Enable(bool enable, int kind) {
  if (!ValidKind(kind)) return;
  if (slots_[kind].combo) slots_[kind].combo->setEnabled(enable);
  if (slots_[kind].label) slots_[kind].label->setEnabled(enable);
}

void ChooserChain::SetViewFilter(int viewType) {
  if (!IsKnownViewType(viewType))
    std::cerr << "library browser: unknown view type " << viewType << "; no view is offered\n";
  viewType_ = viewType;
}

void ChooserChain::SetSelectedLib(std::string library) {
  selection_->library = std::move(library);
  if (slots_[kLibrary].combo) {
    Fill(kLibrary);
  } else {
    selection_->Notify();
  }
}

void ChooserChain::SetSelectedCell(std::string cell) {
  selection_->cell = std::move(cell);
  if (slots_[kCell].combo) {
    Fill(kCell);
  } else {
    selection_->Notify();
  }
}

void ChooserChain::ExchangeViewChooser(ChooserChain& other) {
  if (&other == this) return;
  for (ChooserChain* chain : {this, &other}) {
    if (QComboBox* combo = chain->Chooser(kView))
      QObject::disconnect(combo, nullptr, &chain->context_, nullptr);
  }
  std::swap(slots_[kView], other.slots_[kView]);
  std::swap(view_, other.view_);
  std::swap(viewType_, other.viewType_);
  Connect(kView);
  other.Connect(kView);
}

void ChooserChain::FollowSelection(ChooserChain& leader) {
  if (&leader == this) return;
  viewSource_ = leader.selection_;
  followHook_ = std::make_shared<std::function<void()>>([this] {
    if (slots_[kView].combo) FillOne(kView);
    changed_();
  });
  leader.selection_->followers.push_back(followHook_);
  if (slots_[kView].combo) FillOne(kView);
  changed_();
}

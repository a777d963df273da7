#include "suite/browser/LibraryCheckTree.h"

#include <QGroupBox>
#include <QTreeWidget>
#include <iostream>

#include "framework/CImageList.h"
#include "libformat/LibraryTree.h"
#include "suite/browser/BrowserText.h"

namespace {

constexpr int kLoadedRole = kNameRole + 1;  // set on a library item once its cells are in

QTreeWidgetItem* MakeItem(const std::string& name, const QIcon& icon, bool usable) {
  auto* item = new QTreeWidgetItem(QStringList{DisplayText(name)});
  item->setData(0, kNameRole, NameBytes(name));
  item->setIcon(0, icon);
  if (usable) {
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
  } else {
    item->setFlags(Qt::NoItemFlags);
  }
  return item;
}

bool IsTickable(const QTreeWidgetItem* item) {
  return (item->flags() & Qt::ItemIsUserCheckable) && (item->flags() & Qt::ItemIsEnabled);
}

}  // namespace

LibraryCheckTree::LibraryCheckTree(std::function<LibraryTree&()> currentTree,
                                   std::function<void()> changed)
    : currentTree_(std::move(currentTree)), changed_(std::move(changed)) {}

namespace {

// The tree's place grown to the bottom and right of the group box it starts in, so that the
// dialog's "Select Library/Cells" group is filled by the tree, whatever the font.
QRect FillEnclosingGroup(QWidget* parent, QRect place) {
  constexpr int kMargin = 8;
  for (const QGroupBox* group : parent->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly)) {
    const QRect frame = group->geometry();
    if (!frame.contains(place.topLeft())) continue;
    place.setBottom(std::max(place.bottom(), frame.bottom() - kMargin));
    place.setRight(std::max(place.right(), frame.right() - kMargin));
  }
  return place;
}

}  // namespace

void LibraryCheckTree::Show(QWidget* parent, CRect rect, const CImageList* icons,
                            const std::string& initial) {
  if (parent == nullptr) {
    std::cerr << "library browser: the library tree needs a parent window\n";
    return;
  }
  delete widget_;  // showing the tree again replaces it
  if (icons != nullptr) {
    libraryIcon_ = icons->GetIcon(0);
    cellIcon_ = icons->GetIcon(1);
  }
  auto* tree = new QTreeWidget(parent);
  tree->setObjectName("browserTree");
  tree->setHeaderHidden(true);
  tree->setGeometry(FillEnclosingGroup(parent, {rect.left, rect.top, rect.Width(), rect.Height()}));
  tree->setUniformRowHeights(true);  // keeps 10,000-cell libraries quick to show
  widget_ = tree;
  QObject::connect(tree, &QTreeWidget::itemExpanded, &context_,
                   [this](QTreeWidgetItem* item) { LoadCells(item); });
  QObject::connect(tree, &QTreeWidget::itemChanged, &context_,
                   [this](QTreeWidgetItem* item, int) { Ticked(item); });
  Reload();
  if (QTreeWidgetItem* item = initial.empty() ? nullptr : FindLibrary(initial)) {
    if (IsTickable(item)) item->setCheckState(0, Qt::Checked);
    tree->scrollToItem(item);
  }
  tree->show();
}

void LibraryCheckTree::Reload() {
  if (!widget_) return;
  LibraryTree& data = currentTree_();
  const QSignalBlocker block(widget_);
  widget_->clear();
  for (const LibraryEntry& lib : data.Libraries()) {
    QTreeWidgetItem* item = MakeItem(lib.name, libraryIcon_, lib.Choosable());
    if (lib.Choosable()) {
      item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    } else {
      const std::string why = lib.directoryExists
                                  ? "Name with control characters: tools cannot take it"
                                  : "Directory not found: " + lib.directory;
      item->setToolTip(
          0, DisplayText(why + " (" + lib.listFile + ", line " + std::to_string(lib.line) + ")"));
    }
    widget_->addTopLevelItem(item);
  }
  changed_();
}

QTreeWidgetItem* LibraryCheckTree::FindLibrary(const std::string& library) const {
  if (!widget_) return nullptr;
  for (int i = 0; i < widget_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = widget_->topLevelItem(i);
    if (NameOf(item->data(0, kNameRole)) == library) return item;
  }
  return nullptr;
}

void LibraryCheckTree::LoadCells(QTreeWidgetItem* libraryItem) {
  if (libraryItem->parent() != nullptr || libraryItem->data(0, kLoadedRole).toBool()) return;
  const QSignalBlocker block(widget_);
  libraryItem->setData(0, kLoadedRole, true);
  const std::vector<CellEntry>& cells =
      currentTree_().Cells(NameOf(libraryItem->data(0, kNameRole)));
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(cells.size()));
  for (const CellEntry& cell : cells) {
    QTreeWidgetItem* item = MakeItem(cell.name, cellIcon_, cell.usable);
    if (!cell.usable) item->setToolTip(0, "Name with control characters: tools cannot take it");
    items.push_back(item);
  }
  libraryItem->addChildren(items);
  libraryItem->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  changed_();
}

void LibraryCheckTree::Ticked(QTreeWidgetItem* item) {
  if (propagating_) return;
  propagating_ = true;
  // Items that cannot be chosen keep no tick, however it was set.
  if (!IsTickable(item)) {
    if (item->checkState(0) != Qt::Unchecked) item->setData(0, Qt::CheckStateRole, QVariant());
    propagating_ = false;
    return;
  }
  QTreeWidgetItem* library = item->parent();
  if (library != nullptr && item->checkState(0) == Qt::Checked) {
    library->setCheckState(0, Qt::Checked);
  } else if (library == nullptr && item->checkState(0) == Qt::Unchecked) {
    for (int i = 0; i < item->childCount(); ++i) {
      QTreeWidgetItem* cell = item->child(i);
      if (IsTickable(cell)) cell->setCheckState(0, Qt::Unchecked);
    }
  }
  propagating_ = false;
}

std::vector<std::string> LibraryCheckTree::SelectedLibraries() const {
  std::vector<std::string> names;
  if (!widget_) return names;
  for (int i = 0; i < widget_->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = widget_->topLevelItem(i);
    if (IsTickable(item) && item->checkState(0) == Qt::Checked)
      names.push_back(NameOf(item->data(0, kNameRole)));
  }
  return names;
}

std::vector<std::string> LibraryCheckTree::SelectedCells(const std::string& library) const {
  std::vector<std::string> names;
  const QTreeWidgetItem* item = FindLibrary(library);
  for (int i = 0; item != nullptr && i < item->childCount(); ++i) {
    const QTreeWidgetItem* cell = item->child(i);
    if (IsTickable(cell) && cell->checkState(0) == Qt::Checked)
      names.push_back(NameOf(cell->data(0, kNameRole)));
  }
  return names;
}

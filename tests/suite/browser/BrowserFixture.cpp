#include "BrowserFixture.h"

#include <QStandardItemModel>

std::string DemoProjectPath() { return std::string(KESTRA_SOURCE_DIR) + "/examples/demo/"; }

BrowserWindow::BrowserWindow() : window_(std::make_unique<QWidget>()) { window_->resize(420, 460); }

QTreeWidget* BrowserWindow::Tree() const { return window_->findChild<QTreeWidget*>("browserTree"); }

QComboBox* BrowserWindow::Chooser(const char* objectName) const {
  return window_->findChild<QComboBox*>(objectName);
}

QTreeWidgetItem* BrowserWindow::Library(const std::string& name) const {
  QTreeWidget* tree = Tree();
  for (int i = 0; tree != nullptr && i < tree->topLevelItemCount(); ++i) {
    if (tree->topLevelItem(i)->text(0).toStdString() == name) return tree->topLevelItem(i);
  }
  return nullptr;
}

void BrowserWindow::Tick(const std::string& library, const std::vector<std::string>& cells) {
  QTreeWidgetItem* lib = Library(library);
  if (lib == nullptr) return;
  lib->setExpanded(true);
  if (cells.empty()) lib->setCheckState(0, Qt::Checked);
  for (int i = 0; i < lib->childCount(); ++i) {
    QTreeWidgetItem* cell = lib->child(i);
    for (const std::string& name : cells) {
      if (cell->text(0).toStdString() == name) cell->setCheckState(0, Qt::Checked);
    }
  }
}

std::vector<std::string> BrowserWindow::Entries(const char* objectName) const {
  std::vector<std::string> texts;
  QComboBox* combo = Chooser(objectName);
  const auto* model = combo ? qobject_cast<QStandardItemModel*>(combo->model()) : nullptr;
  for (int i = 0; combo != nullptr && i < combo->count(); ++i) {
    if (model == nullptr || model->item(i)->isEnabled())
      texts.push_back(combo->itemText(i).toStdString());
  }
  return texts;
}

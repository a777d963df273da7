// Helpers for driving the browser's real widgets headless: a parent window, finding the
// widgets by object name, expanding a library and ticking items as a user would.
#pragma once

#include <QComboBox>
#include <QTreeWidget>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

// The example project's directory, ending in a separator.
std::string DemoProjectPath();

class BrowserWindow {
 public:
  BrowserWindow();
  QWidget* window() { return window_.get(); }
  QTreeWidget* Tree() const;
  QComboBox* Chooser(const char* objectName) const;
  // The tree item of a library; nullptr when it is not shown.
  QTreeWidgetItem* Library(const std::string& name) const;
  // Expands library (reading its cells) and ticks the named cells, or the library itself
  // when cells is empty.
  void Tick(const std::string& library, const std::vector<std::string>& cells = {});
  // The texts a chooser offers, enabled entries only.
  std::vector<std::string> Entries(const char* objectName) const;

 private:
  std::unique_ptr<QWidget> window_;
};

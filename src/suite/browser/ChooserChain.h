// The browser's chained choosers: library, cells of the chosen library, views of the chosen
// cell filtered by view type. Each chooser is a combo box (with an optional label) that is a
// child of, and owned by, the window given to Show; this object only holds guarded pointers.
// UI thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "outside/OutsideTypes.h"

class QComboBox;
class QLabel;
class LibraryTree;

class ChooserChain {
 public:
  enum { kLibrary = 1, kCell = 2, kView = 3 };

  // currentTree gives the tree of the library type in use; changed runs after every fill.
  ChooserChain(std::function<LibraryTree&()> currentTree, std::function<void()> changed);

  void Show(QWidget* parent, int kind, CRect chooser, CRect label, int viewType);
  // Refills chooser kind (and the ones after it in the chain) from the current tree.
  void Fill(int kind);
  void Enable(bool enable, int kind);
  void SetViewFilter(int viewType);

  void SetSelectedLib(std::string library);
  void SetSelectedCell(std::string cell);
  const std::string& Library() const { return selection_->library; }
  const std::string& Cell() const { return selection_->cell; }
  const std::string& View() const { return view_; }
  QComboBox* Chooser(int kind) const;

  // Swaps the view chooser (widget, label, view type and choice) with other's; each chain
  // refills the chooser it now holds from its own library and cell.
  void ExchangeViewChooser(ChooserChain& other);
  // From now on the view chooser lists the views of the library and cell chosen in leader,
  // and is refilled whenever they change there. Ends when either chain is destroyed.
  void FollowSelection(ChooserChain& leader);

 private:
  struct Slot {
    QPointer<QComboBox> combo;
    QPointer<QLabel> label;
  };
  // The library and cell chosen in a chain, shared with the chains that follow it.
  struct Selection {
    std::string library;
    std::string cell;
    std::vector<std::weak_ptr<std::function<void()>>> followers;
    void Notify();
  };
  static bool ValidKind(int kind) { return kind >= kLibrary && kind <= kView; }
  std::string& SelectionOf(int kind);
  void FillOne(int kind);
  void Chosen(int kind);
  void Connect(int kind);

  std::function<LibraryTree&()> currentTree_;
  std::function<void()> changed_;
  Slot slots_[kView + 1];
  std::shared_ptr<Selection> selection_ = std::make_shared<Selection>();
  // Whose library and cell the view chooser lists: this chain's own, or a leader's.
  std::shared_ptr<Selection> viewSource_ = selection_;
  std::shared_ptr<std::function<void()>> followHook_;
  std::string view_;
  int viewType_ = 0;
  QObject context_;  // owns the signal connections: they end with this object
};

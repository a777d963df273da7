// A reader of KiCad's s-expression files: the whole text becomes a flat tree of lists and
// atoms that point into the text, each with its line. Iterative, so a deeply nested file
// cannot overflow the stack; a truncated file, a stray parenthesis, an unterminated string, a
// NUL byte (a binary file) or text after the top-level list is an error with its line.
// Standard C++ only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct SExprNode {
  std::string_view text;  // an atom's text as written (a quoted atom without its quotes)
  std::uint32_t line = 0;
  std::int32_t first = -1;  // a list's first element
  std::int32_t next = -1;   // the next element of the enclosing list
  bool list = false;
  bool quoted = false;
  bool escaped = false;  // a quoted atom holding a backslash escape
};

class SExprTree {
 public:
  // Parses text, which must outlive the tree. False with Error() and ErrorLine() set.
  bool Parse(std::string_view text);

  const std::string& Error() const { return error_; }
  int ErrorLine() const { return errorLine_; }

  // The top-level list.
  int Root() const { return 0; }
  const SExprNode& At(int node) const { return nodes_[static_cast<std::size_t>(node)]; }
  // The first atom of a list ("" for an atom or an empty list): what the list is.
  std::string_view Head(int node) const;
  // The element of a list after its head, counting from 1; -1 when it has none.
  int Element(int node, int index) const;
  // The text of the index-th element when it is an atom, escapes resolved; "" otherwise.
  std::string Text(int node, int index) const;
  // A number element, or false when it is missing or not a number.
  bool Number(int node, int index, double& value) const;
  // The first sub-list of node with this head, or -1.
  int Find(int node, std::string_view head) const;
  // True when a bare atom of node (after its head) is word: flags such as "hide".
  bool HasFlag(int node, std::string_view word) const;

 private:
  bool Fail(std::string text, std::uint32_t line);

  std::vector<SExprNode> nodes_;
  std::string error_;
  int errorLine_ = 0;
};

// Iterates the elements of a list: for (int child : Children(tree, list)).
class SExprChildren {
 public:
  class Iterator {
   public:
    Iterator(const SExprTree& tree, int at) : tree_(&tree), at_(at) {}
    int operator*() const { return at_; }
    Iterator& operator++() {
      at_ = tree_->At(at_).next;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return at_ != other.at_; }

   private:
    const SExprTree* tree_;
    int at_;
  };
  SExprChildren(const SExprTree& tree, int node) : tree_(tree), node_(node) {}
  Iterator begin() const { return {tree_, tree_.At(node_).first}; }
  Iterator end() const { return {tree_, -1}; }

 private:
  const SExprTree& tree_;
  int node_;
};

inline SExprChildren Children(const SExprTree& tree, int node) { return {tree, node}; }

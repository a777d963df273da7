#include "convert/kicad/SExpression.h"

#include <algorithm>
#include <charconv>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool EndsAtom(char c) { return IsSpace(c) || c == '(' || c == ')' || c == '"'; }

}  // namespace

bool SExprTree::Fail(std::string text, std::uint32_t line) {
  error_ = std::move(text);
  errorLine_ = static_cast<int>(line);
  nodes_.clear();
  return false;
}

bool SExprTree::Parse(std::string_view text) {
  nodes_.clear();
  error_.clear();
  errorLine_ = 0;
  // A binary file is refused as such before its bytes are taken for text.
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
    const auto before = text.substr(0, nul);
    const auto lines = static_cast<std::uint32_t>(std::count(before.begin(), before.end(), '\n'));
    return Fail("a NUL byte: not a text file", lines + 1);
  }
  // Room for a node every four bytes, more than KiCad's text ever needs (a node takes five or
  // more): the nodes are never moved as they grow, and room not used is never touched.
  nodes_.reserve(text.size() / 4 + 1);
  std::vector<std::int32_t> open;  // the lists not yet closed
  std::vector<std::int32_t> last;  // per open list: its last element so far
  std::uint32_t line = 1;
  bool done = false;
  std::size_t i = 0;
  auto append = [&](SExprNode node) {
    const auto index = static_cast<std::int32_t>(nodes_.size());
    if (!open.empty()) {
      if (last.back() < 0) {
        nodes_[static_cast<std::size_t>(open.back())].first = index;
      } else {
        nodes_[static_cast<std::size_t>(last.back())].next = index;
      }
      last.back() = index;
    }
    nodes_.push_back(node);
    return index;
  };
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\n') {
      ++line;
      ++i;
      continue;
    }
    if (IsSpace(c)) {
      ++i;
      continue;
    }
    if (done) return Fail("text after the end of the top-level list", line);
    if (c == '(') {
      SExprNode node;
      node.list = true;
      node.line = line;
      open.push_back(append(node));
      last.push_back(-1);
      ++i;
    } else if (c == ')') {
      if (open.empty()) return Fail("a \")\" without its \"(\"", line);
      open.pop_back();
      last.pop_back();
      done = open.empty();
      ++i;
    } else if (open.empty()) {
      return Fail("text outside the top-level list", line);
    } else if (c == '"') {
      const std::uint32_t start = line;
      const std::size_t from = ++i;
      bool escaped = false;
      while (i < text.size() && text[i] != '"') {
        if (text[i] == '\n') ++line;
        if (text[i] == '\\' && i + 1 < text.size()) {
          escaped = true;
          ++i;
          if (text[i] == '\n') ++line;
        }
        ++i;
      }
      if (i >= text.size()) return Fail("a string that does not end", start);
      SExprNode node;
      node.text = text.substr(from, i - from);
      node.line = start;
      node.quoted = true;
      node.escaped = escaped;
      append(node);
      ++i;
    } else {
      const std::size_t from = i;
      while (i < text.size() && !EndsAtom(text[i])) ++i;
      SExprNode node;
      node.text = text.substr(from, i - from);
      node.line = line;
      append(node);
    }
  }
  if (!open.empty())
    return Fail("the file ends inside a list (truncated?)", nodes_[open.back()].line);
  if (nodes_.empty()) return Fail("no s-expression in the file", line);
  if (!nodes_.front().list) return Fail("the file does not start with a list", 1);
  return true;
}

std::string_view SExprTree::Head(int node) const {
  const SExprNode& n = At(node);
  if (!n.list || n.first < 0 || At(n.first).list) return {};
  return At(n.first).text;
}

int SExprTree::Element(int node, int index) const {
  const SExprNode& n = At(node);
  if (!n.list) return -1;
  int at = n.first;
  for (int k = 0; at >= 0 && k < index; ++k) at = At(at).next;
  return at;
}

std::string SExprTree::Text(int node, int index) const {
  const int at = Element(node, index);
  if (at < 0 || At(at).list) return {};
  const SExprNode& n = At(at);
  if (!n.escaped) return std::string(n.text);
  std::string out;
  out.reserve(n.text.size());
  for (std::size_t i = 0; i < n.text.size(); ++i) {
    char c = n.text[i];
    if (c == '\\' && i + 1 < n.text.size()) {
      c = n.text[++i];
      if (c == 'n') c = '\n';
      if (c == 't') c = '\t';
    }
    out.push_back(c);
  }
  return out;
}

bool SExprTree::Number(int node, int index, double& value) const {
  const int at = Element(node, index);
  if (at < 0 || At(at).list) return false;
  std::string_view t = At(at).text;
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
  return !t.empty() && error == std::errc() && end == t.data() + t.size();
}

int SExprTree::Find(int node, std::string_view head) const {
  for (int child : Children(*this, node))
    if (At(child).list && Head(child) == head) return child;
  return -1;
}

bool SExprTree::HasFlag(int node, std::string_view word) const {
  const int first = At(node).first;
  if (first < 0) return false;
  for (int at = At(first).next; at >= 0; at = At(at).next)
    if (!At(at).list && !At(at).quoted && At(at).text == word) return true;
  return false;
}

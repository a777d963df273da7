// One program (section) of the merged model with its directives, in order of first
// appearance. Owned by a CSpiProgramList, whose arena holds the directives (their addresses
// are stable); its own index finds them, small enough to stay in the caches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "projectfile/CSpiDirective.h"
#include "projectfile/SpiNameIndex.h"

class CSpiProgramList;

class CSpiProgram {
 public:
  // The directives of a program in list order; iteration gives pointers (stable addresses).
  class DirectiveRange {
   public:
    class Iterator {
     public:
      using iterator_category = std::forward_iterator_tag;
      using value_type = CSpiDirective*;
      using difference_type = std::ptrdiff_t;
      using pointer = void;
      using reference = CSpiDirective*;

      Iterator() = default;
      Iterator(const CSpiProgramList* list, std::uint32_t at) : list_(list), at_(at) {}
      CSpiDirective* operator*() const;
      Iterator& operator++();
      Iterator operator++(int) {
        Iterator before = *this;
        ++*this;
        return before;
      }
      bool operator==(const Iterator& other) const { return at_ == other.at_; }

     private:
      const CSpiProgramList* list_ = nullptr;
      std::uint32_t at_ = 0;  // model position + 1; 0 past the end
    };

    DirectiveRange(const CSpiProgramList* list, std::uint32_t first, std::size_t count)
        : list_(list), first_(first), count_(count) {}
    Iterator begin() const { return {list_, first_}; }
    Iterator end() const { return {list_, 0}; }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }

   private:
    const CSpiProgramList* list_;
    std::uint32_t first_;
    std::size_t count_;
  };

  CSpiProgram(CSpiProgramList& list, SpiArena& arena, std::string programName, int firstLevel)
      : name(std::move(programName)), level(firstLevel), list_(&list), index_(&arena) {}
  CSpiProgram(const CSpiProgram&) = delete;
  CSpiProgram& operator=(const CSpiProgram&) = delete;

  // First directive of that name in list order, ignoring ASCII case; nullptr when none.
  // Constant time (an index), so reading stays linear in the file size.
  CSpiDirective* FindDirective(std::string_view directiveName) const {
    return FindDirective(directiveName, SpiNameIndex::Hash(directiveName));
  }
  // The same with the name's hash (SpiNameIndex::Hash) computed by the caller.
  CSpiDirective* FindDirective(std::string_view directiveName, std::uint32_t hash) const;
  // Appends a new directive created at createdAtLevel (even when the name exists already).
  // The name is copied into the model unless it lies there already.
  CSpiDirective& AppendDirective(std::string_view directiveName, int createdAtLevel);
  // FindDirective, else AppendDirective, with one index lookup. A new directive keeps the
  // name as given: a view into the model's arena (as the reader gives), or copied by the
  // caller before (copyName).
  CSpiDirective& FindOrAppendDirective(std::string_view directiveName, int createdAtLevel,
                                       bool copyName = true) {
    return FindOrAppendDirective(directiveName, SpiNameIndex::Hash(directiveName), createdAtLevel,
                                 copyName);
  }
  // The same with the name's hash (SpiNameIndex::Hash) computed by the caller.
  CSpiDirective& FindOrAppendDirective(std::string_view directiveName, std::uint32_t hash,
                                       int createdAtLevel, bool copyName);

  // Whether its index is too large for the caches, so that a lookup prepared ahead
  // (PrefetchDirective) saves a wait for memory.
  bool LargeIndex() const { return index_.Large(); }
  // Prepares a lookup of the name with this hash that is to come (see SpiNameIndex::Prefetch).
  void PrefetchDirective(std::uint32_t hash) const { index_.Prefetch(hash); }

  DirectiveRange Directives() const { return {list_, first_, count_}; }

  std::string name;  // upper case when read from a file; as given by a caller otherwise
  int level;         // level of first appearance, or at which a caller added it

 private:
  friend class CSpiProgramList;

  CSpiProgramList* list_;
  SpiNameIndex index_;       // its directives by name (first match), positions in the model
  std::uint32_t first_ = 0;  // model position + 1 of the first directive; 0: none
  std::uint32_t last_ = 0;
  std::size_t count_ = 0;
};

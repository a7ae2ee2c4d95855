// What a page author needs to know about each word: its stack effect, its
// group and one line of description. Filled from the word lists, with or
// without a handler bound, so that the reference, the checker and the editor
// support all read the program's own words.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "word_table.h"

namespace engine {

// Stack effect in the usual notation, values listed bottom first and the top
// last: "b a -- sum". A "?" on a side says the count is not fixed (RUN,
// CLEARSTEK, words that push only when they succeed).
struct WordDoc {
  std::string effect;
  std::string description;
};

struct WordEntry {
  std::string name;
  std::string group;
  WordDoc doc;
  bool documented = false;
  bool registered = false;  // documented names must be registered too
};

// How many values a word takes and leaves, when its effect says so.
struct StackCounts {
  int pops = 0;
  int pushes = 0;
};
std::optional<StackCounts> CountsOf(std::string_view effect);

class WordReference {
 public:
  // A registered name, documented or not; registration order is kept.
  void Note(const std::string& name);
  // The entry of a row of a group.
  void Describe(const char* group, const char* name, const char* effect, const char* description);

  const std::vector<WordEntry>& entries() const { return entries_; }
  const WordEntry* Find(std::string_view name) const;

 private:
  WordEntry& EntryFor(const std::string& name);

  std::vector<WordEntry> entries_;
  std::unordered_map<std::string, size_t> index_;
};

// The entries of a list's words as the program registers them, for the
// reference and the checker, which need no handler bound.
template <class Context>
void DescribeWords(WordReference& reference, const WordList<Context>& list) {
  for (const WordRow<Context>& row : list.rows) {
    reference.Describe(list.group, row.name, row.effect, row.description);
    reference.Note(row.name);
  }
}

}  // namespace engine

// What a page author needs to know about each word: its stack effect, its
// group and one line of description. Filled where the words are registered,
// so that the reference, the checker and the editor support all read the
// program's own word table.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
  void Document(const std::string& name, const WordDoc& doc);
  void set_group(std::string group) { group_ = std::move(group); }
  const std::string& group() const { return group_; }

  const std::vector<WordEntry>& entries() const { return entries_; }
  const WordEntry* Find(std::string_view name) const;

 private:
  WordEntry& EntryFor(const std::string& name);

  std::vector<WordEntry> entries_;
  std::unordered_map<std::string, size_t> index_;
  std::string group_;
};

}  // namespace engine

#include "word_reference.h"

namespace engine {

std::optional<StackCounts> CountsOf(std::string_view effect) {
  const size_t bar = effect.find("--");
  if (bar == std::string_view::npos) return std::nullopt;
  auto count = [](std::string_view side) -> std::optional<int> {
    int n = 0;
    bool in_item = false;
    for (char c : side) {
      if (c == '?') return std::nullopt;
      if (c == ' ') {
        in_item = false;
      } else if (!in_item) {
        in_item = true;
        ++n;
      }
    }
    return n;
  };
  auto pops = count(effect.substr(0, bar));
  auto pushes = count(effect.substr(bar + 2));
  if (!pops || !pushes) return std::nullopt;
  return StackCounts{*pops, *pushes};
}

WordEntry& WordReference::EntryFor(const std::string& name) {
  auto it = index_.find(name);
  if (it != index_.end()) return entries_[it->second];
  index_.emplace(name, entries_.size());
  entries_.push_back(WordEntry{name, {}, {}, false, false});
  return entries_.back();
}

void WordReference::Note(const std::string& name) { EntryFor(name).registered = true; }

void WordReference::Describe(const char* group, const char* name, const char* effect,
                             const char* description) {
  WordEntry& entry = EntryFor(name);
  entry.group = group;
  entry.doc = WordDoc{effect, description};
  entry.documented = true;
}

const WordEntry* WordReference::Find(std::string_view name) const {
  auto it = index_.find(std::string(name));
  return it == index_.end() ? nullptr : &entries_[it->second];
}

}  // namespace engine

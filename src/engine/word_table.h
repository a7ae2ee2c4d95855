// Word names to handlers: exact, case-sensitive byte names. The interpreter
// looks up every word it takes, so the lookup hashes the name in place (no
// copy) and probes a flat table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class Engine;
struct Frame;
using WordHandler = std::function<void(Engine&, Frame&)>;
using WordFunction = void (*)(Engine&, Frame&);

// A handler, with the plain function it holds when it holds one: the
// interpreter calls that directly, one indirect call a word instead of two.
struct Word {
  WordHandler handler;
  WordFunction direct = nullptr;

  static Word Of(WordHandler handler) {
    const WordFunction* plain = handler.target<WordFunction>();
    const WordFunction direct = plain ? *plain : nullptr;
    return Word{std::move(handler), direct};
  }
  void operator()(Engine& e, Frame& f) const { direct ? direct(e, f) : handler(e, f); }
};

// One word of a group, as Lua's luaL_Reg with the reference entry beside it:
// the name, the stack effect, one line of description and the handler, which
// gets the group's context (nothing for Context = void).
template <class Context>
struct WordRun {
  using Type = void (*)(Context&, Engine&, Frame&);
};
template <>
struct WordRun<void> {
  using Type = void (*)(Engine&, Frame&);
};

template <class Context = void>
struct WordRow {
  const char* name;
  const char* effect;
  const char* description;
  typename WordRun<Context>::Type run;
};

// A group of words as the reference lists it under its title.
template <class Context = void>
struct WordList {
  const char* group;
  std::span<const WordRow<Context>> rows;
};

class WordTable {
 public:
  // Registers or replaces the handler of a name.
  void Set(const std::string& name, WordHandler handler);
  // The handler of a name, or nullptr. Valid until the next Set.
  const Word* Find(std::string_view name) const {
    if (slots_.empty()) return nullptr;
    if (!name.empty() && !first_bytes_[static_cast<unsigned char>(name[0])]) return nullptr;
    const uint32_t hash = Hash(name);
    for (uint32_t at = hash & mask_;; at = (at + 1) & mask_) {
      const Slot& slot = slots_[at];
      if (slot.entry == 0) return nullptr;
      if (slot.hash != hash) continue;
      const Entry& entry = *entries_[slot.entry - 1];
      if (Same(entry.name, name)) return &entry.word;
    }
  }
  // Some name begins with this byte.
  bool Begins(char first) const { return first_bytes_[static_cast<unsigned char>(first)]; }

 private:
  struct Entry {
    std::string name;
    Word word;
  };
  struct Slot {
    uint32_t hash = 0;
    uint32_t entry = 0;  // index in entries_ + 1; 0 is a free slot
  };
  static uint32_t Hash(std::string_view name) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    return hash;
  }
  // Names are short: a loop beats a call of memcmp.
  static bool Same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (a[i] != b[i]) return false;
    return true;
  }
  void Rebuild(size_t slot_count);

  std::vector<std::unique_ptr<Entry>> entries_;
  std::vector<Slot> slots_;
  uint32_t mask_ = 0;
  // Bytes some name begins with: most literals (numbers) miss at once.
  bool first_bytes_[256] = {};
};

}  // namespace engine

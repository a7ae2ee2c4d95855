// Word names to handlers: exact, case-sensitive byte names. The interpreter
// looks up every word it takes, so the lookup hashes the name in place (no
// copy) and probes a flat table.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class Engine;
struct Frame;
using WordHandler = std::function<void(Engine&, Frame&)>;

class WordTable {
 public:
  // Registers or replaces the handler of a name.
  void Set(const std::string& name, WordHandler handler);
  // The handler of a name, or nullptr. Valid until the next Set.
  const WordHandler* Find(std::string_view name) const;

 private:
  struct Entry {
    std::string name;
    uint32_t hash;
    WordHandler handler;
  };
  static uint32_t Hash(std::string_view name);
  void Rebuild(size_t slot_count);

  std::vector<std::unique_ptr<Entry>> entries_;
  std::vector<uint32_t> slots_;  // entry index + 1; 0 is a free slot
  uint32_t mask_ = 0;
};

}  // namespace engine

#include "word_table.h"

namespace engine {

uint32_t WordTable::Hash(std::string_view name) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
  return hash;
}

const WordHandler* WordTable::Find(std::string_view name) const {
  if (slots_.empty()) return nullptr;
  const uint32_t hash = Hash(name);
  for (uint32_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
    const uint32_t index = slots_[slot];
    if (index == 0) return nullptr;
    const Entry& entry = *entries_[index - 1];
    if (entry.hash == hash && entry.name == name) return &entry.handler;
  }
}

void WordTable::Set(const std::string& name, WordHandler handler) {
  if (const WordHandler* found = Find(name)) {
    *const_cast<WordHandler*>(found) = std::move(handler);
    return;
  }
  entries_.push_back(std::make_unique<Entry>(Entry{name, Hash(name), std::move(handler)}));
  // At most a quarter full: probes stay short and a miss (a literal) ends fast.
  size_t slot_count = slots_.empty() ? 1024 : slots_.size();
  while (entries_.size() * 4 > slot_count) slot_count *= 2;
  Rebuild(slot_count);
}

void WordTable::Rebuild(size_t slot_count) {
  slots_.assign(slot_count, 0);
  mask_ = static_cast<uint32_t>(slot_count - 1);
  for (size_t i = 0; i < entries_.size(); ++i) {
    uint32_t slot = entries_[i]->hash & mask_;
    while (slots_[slot] != 0) slot = (slot + 1) & mask_;
    slots_[slot] = static_cast<uint32_t>(i + 1);
  }
}

}  // namespace engine

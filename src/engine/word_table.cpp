#include "word_table.h"

namespace engine {

void WordTable::Set(const std::string& name, WordHandler handler) {
  if (const Word* found = Find(name)) {
    *const_cast<Word*>(found) = Word::Of(std::move(handler));
    return;
  }
  if (!name.empty()) first_bytes_[static_cast<unsigned char>(name[0])] = true;
  entries_.push_back(std::make_unique<Entry>(Entry{name, Word::Of(std::move(handler))}));
  // At most a quarter full: probes stay short and a miss (a literal) ends fast.
  size_t slot_count = slots_.empty() ? 1024 : slots_.size();
  while (entries_.size() * 4 > slot_count) slot_count *= 2;
  Rebuild(slot_count);
}

void WordTable::Rebuild(size_t slot_count) {
  slots_.assign(slot_count, Slot{});
  mask_ = static_cast<uint32_t>(slot_count - 1);
  for (size_t i = 0; i < entries_.size(); ++i) {
    const uint32_t hash = Hash(entries_[i]->name);
    uint32_t at = hash & mask_;
    while (slots_[at].entry != 0) at = (at + 1) & mask_;
    slots_[at] = Slot{hash, static_cast<uint32_t>(i + 1)};
  }
}

}  // namespace engine

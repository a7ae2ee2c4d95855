#include "stack_depth.h"

#include <algorithm>

namespace check {

namespace {
constexpr int kMaxValues = 19;
}

std::vector<StackDepth::Finding> StackDepth::Check(const std::vector<Token>& tokens,
                                                   bool starts_empty) {
  std::vector<Finding> findings;
  Follow(tokens, starts_empty, &findings);
  return findings;
}

std::optional<StackDepth::Effect> StackDepth::DefinitionEffect(const std::string& name) {
  auto known = effects_.find(name);
  if (known != effects_.end()) return known->second;
  auto d = definitions_.find(name);
  if (d == definitions_.end() || !d->second->closed || in_progress_.count(name))
    return std::nullopt;
  in_progress_.insert(name);
  std::optional<Effect> effect = Follow(Tokenize(d->second->body, true), false, nullptr);
  in_progress_.erase(name);
  effects_[name] = effect;
  return effect;
}

std::optional<StackDepth::Effect> StackDepth::Follow(const std::vector<Token>& tokens,
                                                     bool starts_empty,
                                                     std::vector<Finding>* findings) {
  // Depth relative to the start; `lowest` is how far below the start the text
  // reached (values its caller must supply). After CLEARSTEK, or when the
  // program empties the stack first, the depth is absolute.
  int depth = 0;
  int lowest = 0;
  bool absolute = starts_empty;
  bool known = true;
  bool ever_unknown = false;
  bool told_over = false, told_under = false;
  struct Block {
    int depth;
    bool known;
    bool has_else = false;
    int then_depth = 0;
    bool then_known = false;
  };
  std::vector<Block> blocks;

  auto note = [&](const Token& token, const std::string& message, bool& told) {
    if (findings && !told) findings->push_back({token.offset, message});
    told = true;
  };
  auto apply = [&](const Token& token, int pops, int pushes) {
    if (!known) return;
    if (absolute && depth < pops) {
      note(token,
           token.text + " takes " + std::to_string(pops) + " value" + (pops == 1 ? "" : "s") +
               " but the stack holds " + std::to_string(depth) + " here",
           told_under);
      depth = 0;
    } else {
      depth -= pops;
    }
    lowest = std::min(lowest, depth);
    depth += pushes;
    const int at_least = absolute ? depth : depth - lowest;
    if (at_least > kMaxValues)
      note(token,
           "the stack holds " + std::to_string(at_least) + " values after " +
               (token.kind == TokenKind::kQuoted ? std::string("this text") : token.text) +
               "; past 19 they are lost",
           told_over);
  };
  auto lose = [&] {
    known = false;
    ever_unknown = true;
  };

  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    if (token.kind == TokenKind::kComment || !token.closed) continue;
    const engine::WordEntry* entry =
        token.kind == TokenKind::kWord ? words_.Find(token.text) : nullptr;
    if (!entry) {
      apply(token, 0, 1);
      continue;
    }
    const std::string& word = token.text;
    if (word == "CLEARSTEK") {
      depth = 0;
      lowest = 0;
      absolute = true;
      known = true;
      ever_unknown = true;  // the caller's stack is gone: no plain effect
    } else if (word == "IF") {
      apply(token, 1, 0);
      blocks.push_back(Block{depth, known});
    } else if (word == "ELSE") {
      if (blocks.empty()) continue;
      Block& b = blocks.back();
      b.has_else = true;
      b.then_depth = depth;
      b.then_known = known;
      depth = b.depth;
      known = b.known;
    } else if (word == "FI") {
      if (blocks.empty()) continue;
      const Block b = blocks.back();
      blocks.pop_back();
      const int other_depth = b.has_else ? b.then_depth : b.depth;
      const bool other_known = b.has_else ? b.then_known : b.known;
      if (!(known && other_known && depth == other_depth)) {
        if (known || other_known) lose();
        known = false;
      }
    } else if (word == "RUN") {
      const bool literal_name =
          i > 0 && (tokens[i - 1].kind == TokenKind::kQuoted ||
                    (tokens[i - 1].kind == TokenKind::kWord && !words_.Find(tokens[i - 1].text)));
      std::optional<Effect> effect;
      if (literal_name) effect = DefinitionEffect(tokens[i - 1].text);
      if (!effect) {
        lose();
        continue;
      }
      apply(token, 1, 0);
      apply(token, effect->needs, effect->needs + effect->net);
    } else if (auto counts = engine::CountsOf(entry->doc.effect)) {
      apply(token, counts->pops, counts->pushes);
    } else {
      lose();
    }
  }
  if (ever_unknown || !known || absolute) return std::nullopt;
  return Effect{-lowest, depth};
}

}  // namespace check

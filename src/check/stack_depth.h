// Follows the stack depth through a straight line of words whose effects the
// reference states, and says where it must go past the 19 values the stack
// holds or below empty. IF blocks whose branches agree, and RUN of a
// definition whose own effect is known, keep the line straight; any other
// word with an open effect ends what can be seen, until CLEARSTEK.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "script_text.h"
#include "word_reference.h"

namespace check {

class StackDepth {
 public:
  struct Finding {
    size_t offset;  // of the word in the checked text
    std::string message;
  };

  StackDepth(const engine::WordReference& words,
             const std::map<std::string, const Definition*>& definitions)
      : words_(words), definitions_(definitions) {}

  // `starts_empty`: the program empties the stack before the text runs.
  std::vector<Finding> Check(const std::vector<Token>& tokens, bool starts_empty);

 private:
  struct Effect {
    int needs;  // values taken from below the text's own
    int net;    // change of the depth
  };
  std::optional<Effect> Follow(const std::vector<Token>& tokens, bool starts_empty,
                               std::vector<Finding>* findings);
  std::optional<Effect> DefinitionEffect(const std::string& name);

  const engine::WordReference& words_;
  const std::map<std::string, const Definition*>& definitions_;
  std::map<std::string, std::optional<Effect>> effects_;
  std::set<std::string> in_progress_;
};

}  // namespace check

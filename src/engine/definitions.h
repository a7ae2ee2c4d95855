// Where Setup.KVS defines a name, for RUN and for the checker alike. RUN
// takes the first ":NAME" CR LF anywhere in the file, not only at a line
// start; scripts rely on that.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace engine {

struct DefinitionPlace {
  size_t name_offset = 0;  // the ':' before the name
  size_t body_offset = 0;  // the CR that ends the name
  bool closed = false;     // a ';' at `end` ends the body
  size_t end = 0;
  char unclosed_group = 0;  // '`', '"' or '{' never closed before the ending ';'
  size_t unclosed_offset = 0;
};

// The definition RUN runs for `name`. The body ends at the first ';' outside
// `...`, "..." and {...}; without one it is empty.
std::optional<DefinitionPlace> FindDefinition(std::string_view text, std::string_view name);

// The ':' of every name line: a line that starts with ':' and holds a name
// of at least one byte up to CR LF.
std::vector<size_t> NameLines(std::string_view text);

}  // namespace engine

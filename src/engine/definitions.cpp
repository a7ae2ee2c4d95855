#include "definitions.h"

#include <string>

namespace engine {

std::optional<DefinitionPlace> FindDefinition(std::string_view text, std::string_view name) {
  const std::string key = ":" + std::string(name) + "\r\n";
  const size_t key_at = text.find(key);
  if (key_at == std::string_view::npos) return std::nullopt;
  DefinitionPlace place;
  place.name_offset = key_at;
  place.body_offset = key_at + 1 + name.size();
  size_t scan = place.body_offset;
  for (;;) {
    const size_t semicolon = text.find(';', scan);
    if (semicolon == std::string_view::npos) return place;
    const size_t opener = text.find_first_of("`\"{", scan);
    if (opener == std::string_view::npos || opener > semicolon) {
      place.closed = true;
      place.end = semicolon;
      return place;
    }
    const char closer = text[opener] == '{' ? '}' : text[opener];
    const size_t closing = text.find(closer, opener + 1);
    if (closing == std::string_view::npos) {
      place.unclosed_group = text[opener];
      place.unclosed_offset = opener;
      return place;
    }
    scan = closing + 1;
  }
}

std::vector<size_t> NameLines(std::string_view text) {
  std::vector<size_t> lines;
  for (size_t colon = text.find(':'); colon != std::string_view::npos;
       colon = text.find(':', colon + 1)) {
    if (colon != 0 && text[colon - 1] != '\n') continue;
    const size_t end = text.find_first_of("\r\n", colon);
    if (end != std::string_view::npos && end > colon + 1 && text.substr(end, 2) == "\r\n")
      lines.push_back(colon);
  }
  return lines;
}

}  // namespace engine

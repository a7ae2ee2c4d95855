// The definition finder RUN and the checker share, against a plain walk of
// its own: the first input byte gives the length of the name, the rest is
// the script file. Checked: the place RUN finds (name, body start, ending
// ';' or the group left open) and the list of name lines are the walk's, and
// every name line's name is found, there or earlier.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "definitions.h"
#include "fuzz_input.h"

namespace {

using fuzz::Check;

// The first ':' NAME CR LF, byte by byte; then the body read as a reader
// would: a group runs from its opener to its closer, a ';' outside one ends
// the body. With no ';' after the last closed group the body is not closed;
// with one, a group still open at the end of the file is reported.
std::optional<engine::DefinitionPlace> Walk(std::string_view text, std::string_view name) {
  const std::string key = ":" + std::string(name) + "\r\n";
  size_t at = 0;
  while (at + key.size() <= text.size() && text.substr(at, key.size()) != key) ++at;
  if (at + key.size() > text.size()) return std::nullopt;
  engine::DefinitionPlace place;
  place.name_offset = at;
  place.body_offset = at + 1 + name.size();
  char closer = 0;
  bool semicolon_since_group = false;
  for (size_t i = place.body_offset; i < text.size(); ++i) {
    const char c = text[i];
    if (closer) {
      if (c == ';') semicolon_since_group = true;
      if (c != closer) continue;
      closer = 0;
      semicolon_since_group = false;
      place.unclosed_group = 0;
      place.unclosed_offset = 0;
      continue;
    }
    if (c == ';') {
      place.closed = true;
      place.end = i;
      return place;
    }
    if (c == '`' || c == '"' || c == '{') {
      closer = c == '{' ? '}' : c;
      place.unclosed_group = c;
      place.unclosed_offset = i;
    }
  }
  if (!closer || !semicolon_since_group) place.unclosed_group = 0, place.unclosed_offset = 0;
  return place;
}

std::vector<size_t> WalkNameLines(std::string_view text) {
  std::vector<size_t> lines;
  for (size_t start = 0; start < text.size();) {
    size_t i = start + 1;
    while (i < text.size() && text[i] != '\r' && text[i] != '\n') ++i;
    if (text[start] == ':' && i > start + 1 && i + 1 < text.size() && text[i] == '\r' &&
        text[i + 1] == '\n')
      lines.push_back(start);
    while (start < text.size() && text[start] != '\n') ++start;
    ++start;
  }
  return lines;
}

bool Same(const std::optional<engine::DefinitionPlace>& a,
          const std::optional<engine::DefinitionPlace>& b) {
  if (!a || !b) return !a && !b;
  return a->name_offset == b->name_offset && a->body_offset == b->body_offset &&
         a->closed == b->closed && (!a->closed || a->end == b->end) &&
         a->unclosed_group == b->unclosed_group && a->unclosed_offset == b->unclosed_offset;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view name = fuzz::Take(input, 12);
  const std::string_view text = input;

  Check(Same(engine::FindDefinition(text, name), Walk(text, name)));
  const std::vector<size_t> lines = engine::NameLines(text);
  Check(lines == WalkNameLines(text));
  for (const size_t colon : lines) {
    const std::string_view line_name = text.substr(colon + 1, text.find('\r', colon) - colon - 1);
    const auto place = engine::FindDefinition(text, line_name);
    Check(place && place->name_offset <= colon);
  }
  return 0;
}

#include "script_text.h"

#include <algorithm>

namespace check {

std::vector<Definition> FindDefinitions(std::string_view file) {
  std::vector<Definition> definitions;
  size_t line_start = 0;
  while (line_start < file.size()) {
    size_t line_end = file.find('\n', line_start);
    if (line_end == std::string_view::npos) break;
    const bool name_line = file[line_start] == ':' && line_end > line_start + 1 &&
                           file[line_end - 1] == '\r' && line_end - line_start > 2;
    if (name_line) {
      Definition d;
      d.name_line_offset = line_start;
      d.name = std::string(file.substr(line_start + 1, line_end - 1 - line_start - 1));
      d.body_offset = line_end - 1;
      // The engine's rule: the first ';' outside `...`, "..." and {...}.
      size_t scan = d.body_offset;
      for (;;) {
        const size_t semicolon = file.find(';', scan);
        if (semicolon == std::string_view::npos) break;
        const size_t opener = file.find_first_of("`\"{", scan);
        if (opener == std::string_view::npos || opener > semicolon) {
          d.closed = true;
          d.body = std::string(file.substr(d.body_offset, semicolon - d.body_offset));
          std::replace(d.body.begin(), d.body.end(), '\r', ' ');
          std::replace(d.body.begin(), d.body.end(), '\n', ' ');
          break;
        }
        const char closer = file[opener] == '{' ? '}' : file[opener];
        const size_t closing = file.find(closer, opener + 1);
        if (closing == std::string_view::npos) {
          d.unclosed_group = file[opener];
          d.unclosed_offset = opener;
          break;
        }
        scan = closing + 1;
      }
      definitions.push_back(std::move(d));
    }
    line_start = line_end + 1;
  }
  return definitions;
}

std::vector<Token> Tokenize(std::string_view text, bool line_end_blank) {
  std::vector<Token> tokens;
  size_t at = 0;
  while (at < text.size()) {
    const char first = text[at];
    if (first == ' ') {
      ++at;
      continue;
    }
    Token token;
    token.offset = at;
    if (first == '{' || first == '"' || first == '`') {
      token.kind = first == '{' ? TokenKind::kComment : TokenKind::kQuoted;
      token.quote = first;
      const char closer = first == '{' ? '}' : first;
      size_t search = at + 1;
      size_t close = std::string_view::npos;
      for (;;) {
        close = text.find(closer, search);
        if (close == std::string_view::npos || first == '{') break;
        const bool blank_after = close + 1 < text.size() ? text[close + 1] == ' ' : line_end_blank;
        if (blank_after) break;
        search = close + 1;
      }
      if (close == std::string_view::npos) {
        // The engine drops the opener (and one more character after a quote)
        // and reads on; the checker reports it and stops reading this text.
        token.closed = false;
        token.text = std::string(text.substr(at + 1));
        tokens.push_back(std::move(token));
        break;
      }
      token.text = std::string(text.substr(at + 1, close - at - 1));
      tokens.push_back(std::move(token));
      at = close + 1;
      continue;
    }
    size_t end = text.find(' ', at);
    if (end == std::string_view::npos) end = text.size();
    token.text = std::string(text.substr(at, end - at));
    tokens.push_back(std::move(token));
    at = end;
  }
  return tokens;
}

LineMap::LineMap(std::string_view file) {
  line_starts_.push_back(0);
  for (size_t i = 0; i < file.size(); ++i)
    if (file[i] == '\n') line_starts_.push_back(i + 1);
}

int LineMap::LineOf(size_t offset) const {
  auto it = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
  return static_cast<int>(it - line_starts_.begin());
}

}  // namespace check

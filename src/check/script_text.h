// Setup.KVS as the checker sees it: the definitions with their places in the
// file, found by the engine's own finder, and the script tokens of
// a body or of an event line with their offsets.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace check {

// A name line and what RUN makes of its name, which is this line's body
// unless the same ":NAME" CR LF stands earlier in the file.
struct Definition {
  std::string name;
  size_t name_line_offset = 0;  // the ':' of the name line
  size_t run_offset = 0;        // the ':' of the definition RUN finds
  size_t body_offset = 0;       // the CR that ends the name RUN finds
  std::string body;             // up to the ending ';', line breaks as blanks
  bool closed = false;          // a ';' ends it
  char unclosed_group = 0;      // '`', '"' or '{' left open before the ';'
  size_t unclosed_offset = 0;
};

// Every name line in file order, duplicates included.
std::vector<Definition> FindDefinitions(std::string_view file);

enum class TokenKind { kWord, kQuoted, kComment };

struct Token {
  TokenKind kind = TokenKind::kWord;
  std::string text;   // the word, or what the quotes or braces hold
  size_t offset = 0;  // first byte of the token in the script text
  char quote = 0;     // '"', '`' or '{'
  bool closed = true;
};

// Tokens as ExecuteLine takes them. A group closes at its quote followed by a
// blank; `line_end_blank` says the text runs with a blank after it (bodies
// inserted by RUN and FOR), so a group may close at its very end.
std::vector<Token> Tokenize(std::string_view text, bool line_end_blank);

// Line numbers (from 1) of offsets into a file.
class LineMap {
 public:
  explicit LineMap(std::string_view file);
  int LineOf(size_t offset) const;

 private:
  std::vector<size_t> line_starts_;
};

}  // namespace check

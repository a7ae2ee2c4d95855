// The word reference turned into docs/words.md and into the KSyntaxHighlighting
// definition for .KVS files, both from the program's own table.
#pragma once

#include <string>

#include "word_reference.h"

namespace kvs {

std::string WordsMarkdown(const engine::WordReference& words);
std::string SyntaxDefinition(const engine::WordReference& words);

}  // namespace kvs

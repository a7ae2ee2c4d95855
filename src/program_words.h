// Every word of the zelt program with its reference entry, group by group in
// the order the program registers them, read from the word lists alone: no
// window, no display, no Qt.
#pragma once

#include "word_reference.h"

namespace zelt {

engine::WordReference ProgramWords();


}  // namespace zelt

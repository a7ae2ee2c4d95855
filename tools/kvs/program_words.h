// Every word the zelt program registers, with its reference entry: the
// program is put together offscreen, as it starts, and asked for its table.
#pragma once

#include "word_reference.h"

namespace kvs {

// Builds the program's window and word groups without showing anything
// (the offscreen platform unless another is set) and returns their reference.
engine::WordReference ProgramWords(int argc, char** argv);

}  // namespace kvs

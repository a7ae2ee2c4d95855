// The word table of the zelt program, taken once from the program as it is
// put together (and taken apart again while the application lives).
#pragma once

#include <QStringList>

#include "program.h"

namespace authoring {

inline const engine::WordReference& ProgramWords() {
  static const engine::WordReference words = [] {
    zelt::Program program(QStringList{});
    return program.engine().reference();
  }();
  return words;
}

}  // namespace authoring

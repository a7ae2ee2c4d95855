// >UTF8, UTF8> and UTF8?: text files in UTF-8 for pages whose values are
// Windows-1251.
#include "cp1251.h"
#include "engine.h"
#include "utf8.h"

namespace engine {

void RegisterUtf8Words(Engine& engine) {
  engine.Register(">UTF8", [](Engine& e, Frame&) { e.Push(Utf8FromCp1251(e.Pop())); });
  engine.Register("UTF8>", [](Engine& e, Frame&) { e.Push(Cp1251FromUtf8(e.Pop())); });
  engine.Register("UTF8?", [](Engine& e, Frame&) { e.Push(IsValidUtf8(e.Pop()) ? "1" : "0"); });
}

}  // namespace engine

// >UTF8, UTF8> and UTF8?: text files in UTF-8 for pages whose values are
// Windows-1251.
#include "cp1251.h"
#include "engine.h"
#include "utf8.h"

namespace engine {

void RegisterUtf8Words(Engine& engine) {
  engine::WordGroup group(engine, "Strings");
  engine.Document(">UTF8", "text -- utf8", "Windows-1251 text as UTF-8 bytes.");
  engine.Register(">UTF8", [](Engine& e, Frame&) { e.Push(Utf8FromCp1251(e.Pop())); });
  engine.Document("UTF8>", "utf8 -- text",
                  "UTF-8 bytes as Windows-1251 text; characters it lacks become \"?\".");
  engine.Register("UTF8>", [](Engine& e, Frame&) { e.Push(Cp1251FromUtf8(e.Pop())); });
  engine.Document("UTF8?", "bytes -- flag", "1 when the bytes are valid UTF-8, else 0.");
  engine.Register("UTF8?", [](Engine& e, Frame&) { e.Push(IsValidUtf8(e.Pop()) ? "1" : "0"); });
}

}  // namespace engine

// >UTF8, UTF8> and UTF8?: text files in UTF-8 for pages whose values are
// Windows-1251.
#include "cp1251.h"
#include "engine.h"
#include "utf8.h"

namespace engine {

constexpr WordRow<> kUtf8Rows[] = {
    {">UTF8", "text -- utf8", "Windows-1251 text as UTF-8 bytes.",
     [](Engine& e, Frame&) { e.Push(Utf8FromCp1251(e.Pop())); }},
    {"UTF8>", "utf8 -- text", "UTF-8 bytes as Windows-1251 text; characters it lacks become \"?\".",
     [](Engine& e, Frame&) { e.Push(Cp1251FromUtf8(e.Pop())); }},
    {"UTF8?", "bytes -- flag", "1 when the bytes are valid UTF-8, else 0.",
     [](Engine& e, Frame&) { e.Push(IsValidUtf8(e.Pop()) ? "1" : "0"); }},
};

const WordList<> kUtf8Words{"Strings", kUtf8Rows};

}  // namespace engine

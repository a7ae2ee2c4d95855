// Cells, saved cells, the dim array, SET and SCRIPTDES. No index from a script
// ever reaches outside a store: an index out of bounds faults the word.
#include <cstdint>

#include "engine.h"

namespace engine {
namespace {

constexpr int32_t kReadableSavedCells = 128;  // "#" reads 0..127 only

// Element number of plane p, row r (from 1) and column k; faults outside the array.
size_t DimElement(int32_t plane, int32_t row, int32_t column) {
  const int64_t element = int64_t{plane} * 2048 + (int64_t{row} - 1) * 256 + column;
  if (element < 0 || element >= Engine::kDimElements) throw Fault{};
  return static_cast<size_t>(element);
}

size_t PopDimElement(Engine& e) {
  const int32_t plane = e.PopNumber();
  const int32_t row = e.PopNumber();
  const int32_t column = e.PopNumber();
  return DimElement(plane, row, column);
}

}  // namespace

constexpr WordRow<> kStoreRows[] = {
    {"%", "index -- value", "Cell index (0..256, -256..-1 count from 256).",
     [](Engine& e, Frame&) {
       Value value = e.Cell(e.PopNumber());
       e.Push(std::move(value));
     }},
    {"!", "value index --", "Stores value in cell index.",
     [](Engine& e, Frame&) {
       // The index is checked before the value is taken: a bad index leaves it.
       Value& cell = e.Cell(e.PopNumber());
       cell = e.Pop();
     }},
    {"#", "index -- value", "Saved cell index (0..127; any other index gives the empty text).",
     [](Engine& e, Frame&) {
       const int32_t index = e.PopNumber();
       if (index < 0 || index >= kReadableSavedCells) return e.Push({});
       e.Push(e.saved_cells()[static_cast<size_t>(index)]);
     }},
    {"!!", "value index --", "Stores value in saved cell index (0..128).",
     [](Engine& e, Frame&) {
       const int32_t index = e.PopNumber();
       Value value = e.Pop();
       if (index < 0 || index >= Engine::kSavedCells) return;
       e.saved_cells()[static_cast<size_t>(index)] = std::move(value);
     }},
    {"DIM!", "value column row plane --",
     "Stores a number in the dim array (plane 0..2, row 1..8, column 0..255).",
     [](Engine& e, Frame&) {
       const int32_t plane = e.PopNumber();
       const int32_t row = e.PopNumber();
       const int32_t column = e.PopNumber();
       const int32_t value = e.PopNumber();
       e.dim()[DimElement(plane, row, column)] = value;
     }},
    {"DIM%", "column row plane -- n", "Reads a number from the dim array.",
     [](Engine& e, Frame&) { e.PushNumber(e.dim()[PopDimElement(e)]); }},
    {"DIMCLEAR", "--", "Sets the whole dim array to 0.",
     [](Engine& e, Frame&) { e.dim().fill(0); }},
    {"SET", "n --",
     "Shows the page area and enables the tree (n not 0) or hides and disables them (0).",
     [](Engine& e, Frame&) { e.host().SetSettingsPanel(e.PopNumber() != 0); }},
    {"SCRIPTDES", "x --", "Discards the top value.", [](Engine& e, Frame&) { e.Pop(); }},
};

const WordList<> kStoreWords{"Stores", kStoreRows};

}  // namespace engine

// Property words: they set the pending registers that creation words read.
#include "control_words.h"
#include "main_form.h"

namespace ui {

void RegisterPropertyWords(engine::Engine& engine, TMainForm& form) {
  engine::WordGroup group(engine, "Window: properties of the next control");
  ControlRegisters& r = form.registers();
  TMainForm* f = &form;

  engine.Document("LEFT", "x --", "Left edge of the next control, in design units.");
  engine.Register("LEFT", [&r, f](engine::Engine& e, engine::Frame&) {
    r.left = f->ToDesignX(e.PopNumber());
  });
  engine.Document("TOP", "y --", "Top edge of the next control, in design units.");
  engine.Register("TOP", [&r, f](engine::Engine& e, engine::Frame&) {
    r.top = f->ToDesignY(e.PopNumber());
  });
  engine.Document("WIDTH", "w --", "Width of the next control, in design units.");
  engine.Register("WIDTH", [&r, f](engine::Engine& e, engine::Frame&) {
    r.width = f->ToDesignX(e.PopNumber());
  });
  engine.Document("HEIGHT", "h --", "Height of the next control, in design units.");
  engine.Register("HEIGHT", [&r, f](engine::Engine& e, engine::Frame&) {
    r.height = f->ToDesignY(e.PopNumber());
  });

  engine.Document("TEXT", "text --", "Caption or text of the next control or tree node.");
  engine.Register("TEXT", [&r](engine::Engine& e, engine::Frame&) { r.text = e.Pop(); });
  engine.Document("FIELD", "name --", "Data field of the next DBCHECK.");
  engine.Register("FIELD", [&r](engine::Engine& e, engine::Frame&) { r.field = e.Pop(); });
  engine.Document("ONCHANGE", "line --",
                  "Script line run when the next control (or tree node) is changed or clicked.");
  engine.Register("ONCHANGE", [&r](engine::Engine& e, engine::Frame&) { r.on_change = e.Pop(); });
  engine.Document("ONCLOSE", "line --",
                  "Script line run when the page of the next tree node is left.");
  engine.Register("ONCLOSE", [&r](engine::Engine& e, engine::Frame&) { r.on_close = e.Pop(); });
  engine.Document("STYLE", "name --", "Style of the next COMBO: LIST, SIMPLE or DROPDOWN.");
  engine.Register("STYLE", [&r](engine::Engine& e, engine::Frame&) { r.style = e.Pop(); });

  engine.Document("RANGE", "low high --",
                  "The edit field of the next COMBO takes only whole numbers low..high and is "
                  "marked while it holds another text.");
  engine.Register("RANGE", [&r](engine::Engine& e, engine::Frame&) {
    r.range_high = e.PopNumber();
    r.range_low = e.PopNumber();
  });
  engine.Document("INDEX", "n --", "Selected item of the next COMBO.");
  engine.Register("INDEX", [&r](engine::Engine& e, engine::Frame&) { r.index = e.PopNumber(); });
  engine.Document("IMAGE", "n --", "Picture number of the next tree node.");
  engine.Register("IMAGE", [&r](engine::Engine& e, engine::Frame&) { r.image = e.PopNumber(); });
  engine.Document("CHECKS", "n --", "The next CHECK is ticked when n > 0.");
  engine.Register("CHECKS", [&r](engine::Engine& e, engine::Frame&) { r.checks = e.PopNumber(); });
  engine.Document("FONTSIZE", "n --", "Font size in points of the next LABEL only.");
  engine.Register("FONTSIZE",
                  [&r](engine::Engine& e, engine::Frame&) { r.font_size = e.PopNumber(); });

  // Kept for old scripts: nothing reads what they set.
  engine.Document("VISIBLE", "x --", "Discards the value (kept for old scripts).");
  engine.Register("VISIBLE", [](engine::Engine& e, engine::Frame&) { e.Pop(); });
  engine.Document("COLOR", "name --", "Discards the value (kept for old scripts).");
  engine.Register("COLOR", [](engine::Engine& e, engine::Frame&) { e.Pop(); });

  engine.Document("ID", "n --",
                  "Current ID: the next control reuses the control placed under this ID.");
  engine.Register("ID", [&r](engine::Engine& e, engine::Frame&) { r.current_id = e.PopNumber(); });
  engine.Document("ID%", "-- n", "The current ID.");
  engine.Register("ID%", [&r](engine::Engine& e, engine::Frame&) {
    e.Push(engine::NumberToText(r.current_id));
  });
  engine.Document("I", "n --", "Sets the I register.");
  engine.Register("I", [&r](engine::Engine& e, engine::Frame&) { r.i_register = e.PopNumber(); });
  engine.Document("I%", "-- n", "The I register.");
  engine.Register("I%", [&r](engine::Engine& e, engine::Frame&) {
    e.Push(engine::NumberToText(r.i_register));
  });

  engine.Document("CLEARITEMS", "--", "Empties the item list (combo items, SQL statement lines).");
  engine.Register("CLEARITEMS", [&r](engine::Engine&, engine::Frame&) { r.item_count = 0; });
  engine.Document("ADDITEMS", "text --", "Adds text to the item list (at most 100 items).");
  engine.Register("ADDITEMS", [&r](engine::Engine& e, engine::Frame&) {
    // Past the hundredth item the count still rises but the value stays put.
    ++r.item_count;
    if (r.item_count >= 1 && r.item_count <= ControlRegisters::kItems) {
      r.items[static_cast<size_t>(r.item_count)] = e.Pop();
    }
  });
}

}  // namespace ui

// Property words: they set the pending registers that creation words read.
#include "control_words.h"
#include "main_form.h"

namespace ui {

void RegisterPropertyWords(engine::Engine& engine, TMainForm& form) {
  ControlRegisters& r = form.registers();
  TMainForm* f = &form;

  engine.Register("LEFT", [&r, f](engine::Engine& e, engine::Frame&) {
    r.left = f->ToDesignX(e.PopNumber());
  });
  engine.Register("TOP", [&r, f](engine::Engine& e, engine::Frame&) {
    r.top = f->ToDesignY(e.PopNumber());
  });
  engine.Register("WIDTH", [&r, f](engine::Engine& e, engine::Frame&) {
    r.width = f->ToDesignX(e.PopNumber());
  });
  engine.Register("HEIGHT", [&r, f](engine::Engine& e, engine::Frame&) {
    r.height = f->ToDesignY(e.PopNumber());
  });

  engine.Register("TEXT", [&r](engine::Engine& e, engine::Frame&) { r.text = e.Pop(); });
  engine.Register("FIELD", [&r](engine::Engine& e, engine::Frame&) { r.field = e.Pop(); });
  engine.Register("ONCHANGE", [&r](engine::Engine& e, engine::Frame&) { r.on_change = e.Pop(); });
  engine.Register("ONCLOSE", [&r](engine::Engine& e, engine::Frame&) { r.on_close = e.Pop(); });
  engine.Register("STYLE", [&r](engine::Engine& e, engine::Frame&) { r.style = e.Pop(); });

  engine.Register("INDEX", [&r](engine::Engine& e, engine::Frame&) { r.index = e.PopNumber(); });
  engine.Register("IMAGE", [&r](engine::Engine& e, engine::Frame&) { r.image = e.PopNumber(); });
  engine.Register("CHECKS", [&r](engine::Engine& e, engine::Frame&) { r.checks = e.PopNumber(); });
  engine.Register("FONTSIZE",
                  [&r](engine::Engine& e, engine::Frame&) { r.font_size = e.PopNumber(); });

  // Kept for old scripts: nothing reads what they set.
  engine.Register("VISIBLE", [](engine::Engine& e, engine::Frame&) { e.Pop(); });
  engine.Register("COLOR", [](engine::Engine& e, engine::Frame&) { e.Pop(); });

  engine.Register("ID", [&r](engine::Engine& e, engine::Frame&) { r.current_id = e.PopNumber(); });
  engine.Register("ID%", [&r](engine::Engine& e, engine::Frame&) {
    e.Push(engine::NumberToText(r.current_id));
  });
  engine.Register("I", [&r](engine::Engine& e, engine::Frame&) { r.i_register = e.PopNumber(); });
  engine.Register("I%", [&r](engine::Engine& e, engine::Frame&) {
    e.Push(engine::NumberToText(r.i_register));
  });

  engine.Register("CLEARITEMS", [&r](engine::Engine&, engine::Frame&) { r.item_count = 0; });
  engine.Register("ADDITEMS", [&r](engine::Engine& e, engine::Frame&) {
    // Past the hundredth item the count still rises but the value stays put.
    ++r.item_count;
    if (r.item_count >= 1 && r.item_count <= ControlRegisters::kItems) {
      r.items[static_cast<size_t>(r.item_count)] = e.Pop();
    }
  });
}

}  // namespace ui

// The window's words: the properties of the next control, placing controls,
// and the page with its controls. The window does the showing (PageSurface).
#include "page_surface.h"

namespace ui {

namespace {

using engine::Engine;
using engine::Frame;

template <ControlKind kind>
void Place(PageSurface& s, Engine&, Frame&) {
  s.Place(kind);
}

}  // namespace

constexpr engine::WordRow<PageSurface> kPropertyRows[] = {
    {"LEFT", "x --", "Left edge of the next control, in design units.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().left = s.DesignX(e.PopNumber()); }},
    {"TOP", "y --", "Top edge of the next control, in design units.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().top = s.DesignY(e.PopNumber()); }},
    {"WIDTH", "w --", "Width of the next control, in design units.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().width = s.DesignX(e.PopNumber()); }},
    {"HEIGHT", "h --", "Height of the next control, in design units.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().height = s.DesignY(e.PopNumber()); }},
    {"TEXT", "text --", "Caption or text of the next control or tree node.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().text = e.Pop(); }},
    {"FIELD", "name --", "Data field of the next DBCHECK.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().field = e.Pop(); }},
    {"ONCHANGE", "line --",
     "Script line run when the next control (or tree node) is changed or clicked.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().on_change = e.Pop(); }},
    {"ONCLOSE", "line --", "Script line run when the page of the next tree node is left.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().on_close = e.Pop(); }},
    {"STYLE", "name --", "Style of the next COMBO: LIST, SIMPLE or DROPDOWN.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().style = e.Pop(); }},
    {"RANGE", "low high --",
     "The edit field of the next COMBO takes only whole numbers low..high and is marked while it "
     "holds another text.",
     [](PageSurface& s, Engine& e, Frame&) {
       ControlRegisters& r = s.registers();
       r.range_high = e.PopNumber();
       r.range_low = e.PopNumber();
     }},
    {"INDEX", "n --", "Selected item of the next COMBO.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().index = e.PopNumber(); }},
    {"IMAGE", "n --", "Picture number of the next tree node.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().image = e.PopNumber(); }},
    {"CHECKS", "n --", "The next CHECK is ticked when n > 0.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().checks = e.PopNumber(); }},
    {"FONTSIZE", "n --", "Font size in points of the next LABEL only.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().font_size = e.PopNumber(); }},
    // Kept for old scripts: nothing reads what they set.
    {"VISIBLE", "x --", "Discards the value (kept for old scripts).",
     [](PageSurface&, Engine& e, Frame&) { e.Pop(); }},
    {"COLOR", "name --", "Discards the value (kept for old scripts).",
     [](PageSurface&, Engine& e, Frame&) { e.Pop(); }},
    {"ID", "n --", "Current ID: the next control reuses the control placed under this ID.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().current_id = e.PopNumber(); }},
    {"ID%", "-- n", "The current ID.",
     [](PageSurface& s, Engine& e, Frame&) {
       e.Push(engine::NumberToText(s.registers().current_id));
     }},
    {"I", "n --", "Sets the I register.",
     [](PageSurface& s, Engine& e, Frame&) { s.registers().i_register = e.PopNumber(); }},
    {"I%", "-- n", "The I register.",
     [](PageSurface& s, Engine& e, Frame&) {
       e.Push(engine::NumberToText(s.registers().i_register));
     }},
    {"CLEARITEMS", "--", "Empties the item list (combo items, SQL statement lines).",
     [](PageSurface& s, Engine&, Frame&) { s.registers().item_count = 0; }},
    {"ADDITEMS", "text --", "Adds text to the item list (at most 100 items).",
     [](PageSurface& s, Engine& e, Frame&) {
       ControlRegisters& r = s.registers();
       // Past the hundredth item the count still rises but the value stays put.
       ++r.item_count;
       if (r.item_count >= 1 && r.item_count <= ControlRegisters::kItems) {
         r.items[static_cast<size_t>(r.item_count)] = e.Pop();
       }
     }},
};

const engine::WordList<PageSurface> kPropertyWords{"Window: properties of the next control",
                                                   kPropertyRows};

constexpr engine::WordRow<PageSurface> kCreationRows[] = {
    {"LABEL", "--", "Places a label with TEXT at LEFT, TOP (FONTSIZE for this one only).",
     Place<ControlKind::kLabel>},
    {"COMBO", "--", "Places a combo box with the items, STYLE, TEXT, INDEX and ONCHANGE.",
     Place<ControlKind::kCombo>},
    {"BUTTON", "--", "Places a button captioned TEXT that runs ONCHANGE.",
     Place<ControlKind::kButton>},
    {"CHECK", "--", "Places a check box captioned TEXT, ticked by CHECKS, that runs ONCHANGE.",
     Place<ControlKind::kCheck>},
    {"DBCHECK", "--", "Places a check box bound to FIELD of the QUERY1 row.",
     Place<ControlKind::kDbCheck>},
    {"BEVEL", "--", "Places a raised frame at LEFT, TOP, WIDTH, HEIGHT.",
     Place<ControlKind::kBevel>},
    {"MEMO", "--", "Places the text memo holding TEXT; ONCHANGE runs on the operator's edits.",
     Place<ControlKind::kMemo>},
    {"DIR", "--", "Places the folder field with a chooser button, holding TEXT.",
     Place<ControlKind::kDir>},
};

const engine::WordList<PageSurface> kCreationWords{"Window: placing controls", kCreationRows};

// The dialogs run a nested event loop: timers may run lines meanwhile, so
// nothing taken from the engine is held across them.
constexpr engine::WordRow<PageSurface> kPageRows[] = {
    {"SCLEAR", "--",
     "Hides every control of the page and numbers controls afresh from 1; the pending properties "
     "stay.",
     [](PageSurface& s, Engine&, Frame&) { s.ClearPage(); }},
    {"READONLY", "flag --",
     "flag not 0: the page's memo, combo boxes, check boxes and folder field take no input until 0 "
     "READONLY; buttons, grids and the tree still work.",
     [](PageSurface& s, Engine& e, Frame&) { s.LockInput(e.PopNumber() != 0); }},
    {"SELECTED", "-- n", "Selected item (from 0, -1 for none) of the combo box whose event runs.",
     [](PageSurface& s, Engine& e, Frame&) { e.Push(engine::NumberToText(s.EventComboIndex())); }},
    {"ETEXT", "-- text", "Text of the combo box whose event runs.",
     [](PageSurface& s, Engine& e, Frame&) { e.Push(s.EventComboText()); }},
    {"CHECKED", "-- flag", "255 when the check box whose event runs is ticked, else 0.",
     [](PageSurface& s, Engine& e, Frame&) { e.Push(engine::Truth(s.EventBoxChecked())); }},
    {"EDIR", "-- dir", "Text of the folder field, ending in a backslash when not empty.",
     [](PageSurface& s, Engine& e, Frame&) {
       std::string text = s.FolderText();
       if (!text.empty() && text.back() != '\\') text.push_back('\\');
       e.Push(text);
     }},
    {"EMEMO", "-- text", "Whole text of the memo, lines joined with CR LF.",
     [](PageSurface& s, Engine& e, Frame&) { e.Push(s.MemoText()); }},
    {"INDLEVEL", "level --", "Draws the signal level bar at LEFT, TOP of its picture.",
     [](PageSurface& s, Engine& e, Frame&) {
       const engine::Value level = e.Pop();
       s.ShowLevelImage();
       const std::optional<int32_t> number = engine::ToNumber(level);
       if (!number) throw engine::Fault{};
       s.DrawLevel(s.registers().left, s.registers().top, *number);
     }},
    {"MESSAGE", "text --", "Shows text in a message window and waits for OK.",
     [](PageSurface& s, Engine& e, Frame&) {
       const std::string text = e.Pop();
       s.Message(text);
     }},
    {"WARNING", "text --", "Shows text in a message window with the warning icon and waits for OK.",
     [](PageSurface& s, Engine& e, Frame&) {
       const std::string text = e.Pop();
       s.Warn(text);
     }},
    {"MESSAGEDLG", "text -- flag", "Asks text with Yes and No; 255 for Yes, else 0.",
     [](PageSurface& s, Engine& e, Frame&) {
       const std::string text = e.Pop();
       const bool yes = s.Ask(text);
       e.Push(engine::Truth(yes));
     }},
    {"MESSAGEDLGC", "text -- n",
     "Asks text with Yes, No and Cancel; 255 for Yes, 0 for No, -1 for Cancel (also Esc, closing "
     "the window and Enter).",
     [](PageSurface& s, Engine& e, Frame&) {
       const std::string text = e.Pop();
       const std::optional<bool> answer = s.AskOrCancel(text);
       e.Push(answer ? engine::Truth(*answer) : "-1");
     }},
};

const engine::WordList<PageSurface> kPageWords{"Window: the page and its controls", kPageRows};

}  // namespace ui

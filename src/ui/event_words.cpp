// The navigation tree's words, PROGRESS and timer 1's.
#include "page_surface.h"

namespace ui {

namespace {

using engine::Engine;
using engine::Frame;

}  // namespace

constexpr engine::WordRow<LineTimer> kTimerRows[] = {
    {"STARTTIMER1", "line ms --", "Runs line once after ms milliseconds.",
     [](LineTimer& timer1, Engine& e, Frame&) {
       engine::Value ms = e.Pop();
       engine::Value script = e.Pop();
       auto period = engine::ToNumber(ms);
       if (!period) {
         // The script is kept even when the period is no number.
         timer1.set_script(std::move(script));
         throw engine::Fault{};
       }
       timer1.Start(std::move(script), *period);
     }},
};

const engine::WordList<LineTimer> kTimerWords{"Device", kTimerRows};

constexpr engine::WordRow<PageTree> kTreeRows[] = {
    {"CLEARTREE", "--", "Removes every node of the navigation tree.",
     [](PageTree& tree, Engine&, Frame&) { tree.Clear(); }},
    {"ADDTREE", "--",
     "Adds a top-level node (TEXT, IMAGE, ONCHANGE, ONCLOSE) and makes it the parent.",
     [](PageTree& tree, Engine&, Frame&) { tree.AddTop(); }},
    {"CHILD", "--", "Adds a node under the parent and makes it the parent (one level deeper).",
     [](PageTree& tree, Engine&, Frame&) { tree.AddChild(true); }},
    {"ADDCHILD", "--", "Adds a node under the parent; the parent stays (siblings).",
     [](PageTree& tree, Engine&, Frame&) { tree.AddChild(false); }},
    {"NODE", "n --", "Makes node n (in the order added, from 0) the parent.",
     [](PageTree& tree, Engine& e, Frame&) { tree.SelectParent(e.PopNumber()); }},
    {"NODE%", "-- n", "Number of nodes in the tree.",
     [](PageTree& tree, Engine& e, Frame&) { e.Push(engine::NumberToText(tree.node_count())); }},
    {"LEVEL", "-- n", "Depth of the selected node, 0 at the top level.",
     [](PageTree& tree, Engine& e, Frame&) {
       const std::optional<int> level = tree.SelectedLevel();
       if (!level) throw engine::Fault{};
       e.Push(engine::NumberToText(*level));
     }},
    {"SINDEX", "-- n", "Position of the selected node among its siblings, from 0; -1 for none.",
     [](PageTree& tree, Engine& e, Frame&) {
       e.Push(engine::NumberToText(tree.SelectedSiblingIndex()));
     }},
    {"AINDEX", "-- n", "Display position of the selected node; -1 for none.",
     [](PageTree& tree, Engine& e, Frame&) {
       e.Push(engine::NumberToText(tree.SelectedPosition()));
     }},
    {"STEXT", "-- text", "Text of the selected node.",
     [](PageTree& tree, Engine& e, Frame&) { e.Push(tree.selected_text()); }},
};

const engine::WordList<PageTree> kTreeWords{"Navigation tree", kTreeRows};

constexpr engine::WordRow<TransferCaption> kProgressRows[] = {
    {"PROGRESS", "caption --",
     "Caption beside the status bar's transfer progress bar; empty restores the default.",
     [](TransferCaption& progress, Engine& e, Frame&) { progress.ShowCaption(e.Pop()); }},
    {"PROGRESSPART", "part parts --",
     "The running operation is at part `part` of `parts` (from 1): the transfer progress bar "
     "counts over all its parts. 0 parts, or the end of the operation, drops the plan.",
     [](TransferCaption& progress, Engine& e, Frame&) {
       const int32_t parts = e.PopNumber();
       progress.ShowPart(e.PopNumber(), parts);
     }},
};

const engine::WordList<TransferCaption> kProgressWords{"Window: the page and its controls",
                                                       kProgressRows};

}  // namespace ui

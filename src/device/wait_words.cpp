#include "wait_words.h"

#include "engine.h"

namespace device {

constexpr engine::WordRow<WaitControl> kWaitRows[] = {
    {"WAITREAD", "n --",
     "Holds back the rest of the line until the link has been quiet for n ms (the device wait).",
     [](WaitControl& w, engine::Engine& e, engine::Frame& f) { w.WaitRead(e.PopNumber(), f); }},
    {"MAXWAIT", "n --", "While not 0, received records do not restart the device wait.",
     [](WaitControl& w, engine::Engine& e, engine::Frame&) { w.set_max_wait(e.PopNumber()); }},
};

const engine::WordList<WaitControl> kWaitWords{"Device", kWaitRows};

}  // namespace device

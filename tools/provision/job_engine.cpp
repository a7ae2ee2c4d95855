#include "job_engine.h"

namespace provision {

namespace {

using engine::Engine;
using engine::Frame;

constexpr engine::WordRow<JobEngine> kProgressRows[] = {
    {"PROGRESSPART", "part parts --",
     "The running operation is at part `part` of `parts` (from 1).",
     [](JobEngine& job, Engine& e, Frame&) {
       const int32_t parts = e.PopNumber();
       const int32_t part = e.PopNumber();
       if (job.on_part) job.on_part(part, parts);
     }},
};
const engine::WordList<JobEngine> kProgressWords{"Window: the page and its controls",
                                                 kProgressRows};

}  // namespace

JobEngine::JobEngine(const std::string& script, const QString& tables)
    : engine_(this), tables_(engine_, tables) {
  engine::RegisterCoreWords(engine_);
  files::RegisterFileWords(engine_, files_);
  tables_.RegisterWords();
  engine::AddWords(engine_, kProgressWords, *this);
  engine_.script_file().SetPath(script);
}

JobEngine::~JobEngine() { engine_.SetHost(nullptr); }

std::string JobEngine::Evaluate(const std::string& line,
                                const std::vector<std::string>& arguments) {
  engine_.ClearStack();
  for (const std::string& argument : arguments) engine_.Push(argument);
  engine_.ExecuteLine(line);
  return engine_.Depth() > 0 ? engine_.Pop() : std::string();
}

bool JobEngine::Defines(const std::string& name) {
  return !engine_.LoadDefinition(name).empty();
}

}  // namespace provision

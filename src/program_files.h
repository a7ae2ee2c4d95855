// Where the program finds its Setup.KVS and where it writes its files
// (KVSmon.Log, Tables.db, settings files, link logs).
#pragma once

#include <QString>

namespace zelt {

// The Setup.KVS shipped with the program: <prefix>/share/zelt/Setup.KVS for a
// program installed in <prefix>/bin, else the one beside the program (Windows
// installer, portable zip), else `source_tree_script` (a run from the build
// tree). Empty when none exists.
QString ShippedScript(const QString& program_dir, const QString& source_tree_script);

// Whether the program runs from an installed prefix (share/zelt beside its bin).
bool RunsInstalled(const QString& program_dir);

struct StartFolder {
  QString working_dir;  // the folder the program works in
  QString script;       // the Setup.KVS to run; relative to working_dir when bare
  QString link_logs;    // the link logs' folder; empty keeps the link's own choice
};

// Whether a file can be created in the folder.
bool CanWriteIn(const QString& folder);
// Whether the program works in the folder it was started in: not in one it
// cannot write to (the root), nor in the home folder, where desktop menus
// start programs and where Tables.db and the logs would be litter.
bool WorksIn(const QString& folder);

// The choice for a start in `current_dir`; unless the program is to `stay`
// there, it works in `data_dir`. The script is the one in the starting folder,
// else the user's own in data_dir, else the shipped one, else "Setup.KVS" as
// it is. An installed program keeps its link logs in data_dir rather than
// beside itself.
StartFolder ChooseStartFolder(const QString& current_dir, bool stay,
                              const QString& data_dir, const QString& shipped_script,
                              bool installed);

// Applies the choice for this process: the user's data folder is created when
// needed and becomes the working folder. Returns the choice made; on failure
// to enter the data folder the program stays where it is.
StartFolder EnterStartFolder(const QString& source_tree_script);

}  // namespace zelt

// Whether a profile can go to a bench of devices: the shipped definitions
// load it as the Profiles page does, and every value must be taken.
#pragma once

#include <QString>
#include <QStringList>

namespace provision {

// Empty when the profile can be written; else what is wrong, one line each,
// "FILE:LINE: ..." where a line of the file is to blame. The tables the load
// needs are made in `work_dir`.
QStringList CheckProfile(const QString& profile, const QString& script, const QString& work_dir);

// The line (from 1) of the settings text whose key is `key`; 0 when none.
int KeyLine(const QByteArray& text, const QString& key);

}  // namespace provision

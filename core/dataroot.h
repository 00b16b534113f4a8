#pragma once

#include <QString>

namespace kst {

// The folder that holds the program's settings and backups: the user's data folder, or, when a
// file named "portable" lies beside the program, the "data" folder beside it, so that a copy
// carried on a USB stick keeps them with it.
QString DataRoot();

// Looks for "portable" in the program's folder once, early in main, and when it is there points
// QSettings at DataRoot() as well, in INI files rather than the registry.
void ChooseDataRoot(const QString& programFolder);

} // namespace kst

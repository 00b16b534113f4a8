#pragma once

#include <QString>

namespace kst {

// When a file named "portable" lies beside the program, the "data" folder beside it, which then
// holds the program's settings and backups, so that a copy carried on a USB stick keeps them
// with it; otherwise empty, and they go to the user's folders.
QString PortableDataRoot();

// Looks for "portable" in the program's folder once, early in main, and when it is there points
// QSettings at PortableDataRoot() as well, in INI files rather than the registry.
void ChooseDataRoot(const QString& programFolder);

} // namespace kst

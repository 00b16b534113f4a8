#pragma once

#include <QString>
#include <QStringList>

namespace kst {

// "Kestrune Toolbox - Version (v<major>.<revision>)"; the minor number is not shown.
QString VersionCaption(int major, int revision);

// Turns a filter list of the form "Description|patterns|Description|patterns", with patterns
// separated by ";", into Qt's name filters "Description (pattern pattern)".
QStringList NameFilters(const QString& filterList);

// The open-file dialog's two filters; the second, the ROM filter, is preselected.
QStringList RomNameFilters();
QString PreselectedRomFilter();

} // namespace kst

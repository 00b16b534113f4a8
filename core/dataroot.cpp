#include "dataroot.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace kst {

namespace {

// Empty until a "portable" file was found.
QString& PortableRoot() {
    static QString root;
    return root;
}

} // namespace

QString DataRoot() {
    return PortableRoot().isEmpty()
               ? QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
               : PortableRoot();
}

void ChooseDataRoot(const QString& programFolder) {
    const QDir folder(programFolder);
    if (!QFileInfo(folder.filePath(QStringLiteral("portable"))).isFile())
        return;
    PortableRoot() = folder.filePath(QStringLiteral("data"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, PortableRoot());
}

} // namespace kst

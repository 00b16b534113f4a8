#include "dataroot.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kst {

namespace {

// Empty until a "portable" file was found.
QString& PortableRoot() {
    static QString root;
    return root;
}

} // namespace

QString PortableDataRoot() {
    return PortableRoot();
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

#include "picturecatalogue.h"

#include <QDir>
#include <QFileInfo>

namespace kst {

QPixmap PictureList::Picture(const QString& key) const {
    return QPixmap(QStringLiteral("%1/%2.bmp").arg(folder_, key), "BMP");
}

QStringList PictureList::Keys() const {
    QStringList keys;
    for (const QFileInfo& file : QDir(folder_).entryInfoList(QDir::Files))
        keys << file.completeBaseName();
    return keys;
}

} // namespace kst

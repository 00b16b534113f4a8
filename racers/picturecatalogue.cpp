#include "picturecatalogue.h"

#include <QDir>
#include <QFileInfo>

namespace kst {

PictureList::PictureList(const QString& folder) {
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files);
    for (const QFileInfo& file : files)
        pictures_.insert(file.completeBaseName(), QPixmap(file.filePath()));
}

} // namespace kst

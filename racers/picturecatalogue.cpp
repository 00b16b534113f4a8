#include "picturecatalogue.h"

namespace kst {

QPixmap PictureList::Picture(const QString& key) const {
    return QPixmap(QStringLiteral("%1/%2.bmp").arg(folder_, key), "BMP");
}

} // namespace kst

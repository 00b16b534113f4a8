#include "picturebox.h"

#include "picturecatalogue.h"

#include <QEvent>
#include <QLabel>

namespace kst {

namespace {

// The picture for a screen of this density: pixel art enlarged by whole pixels rather than
// smoothed by the painter, still covering the box's logical size.
QPixmap ForDensity(const QPixmap& picture, qreal density) {
    if (density == 1.0)
        return picture;
    QPixmap enlarged = picture.scaled((QSizeF(picture.size()) * density).toSize(),
                                      Qt::IgnoreAspectRatio, Qt::FastTransformation);
    enlarged.setDevicePixelRatio(density);
    return enlarged;
}

} // namespace

PictureBox::PictureBox(QLabel* box, const PictureList& pictures)
    : QObject(box), box_(box), pictures_(pictures) {
    box_->installEventFilter(this);
}

void PictureBox::Show(const QString& key, const QString& accessibleName) {
    // A screen reader names the picture by what it shows; its description keeps the role.
    box_->setAccessibleName(accessibleName);
    pendingKey_ = key;
    if (box_->isVisible())
        SetPicture();
}

bool PictureBox::eventFilter(QObject* watched, QEvent* event) {
    // The show event comes before the box is first painted.
    if (event->type() == QEvent::Show && !pendingKey_.isEmpty())
        SetPicture();
    return QObject::eventFilter(watched, event);
}

void PictureBox::SetPicture() {
    box_->setPixmap(ForDensity(pictures_.Picture(pendingKey_), box_->devicePixelRatio()));
    pendingKey_.clear();
}

} // namespace kst

#pragma once

#include <QObject>
#include <QString>

class QLabel;

namespace kst {

class PictureList;

// An image box whose picture is decoded only once the box is on show: a race loaded while its
// page is hidden, as the first one is at every open, costs no decoding until the page is shown.
class PictureBox : public QObject {
    Q_OBJECT

public:
    PictureBox(QLabel* box, const PictureList& pictures);

    // Names the box after what it shows at once, and gives it the picture of that key at the
    // box's pixel density: now if the box is on show, else as it is next shown.
    void Show(const QString& key, const QString& accessibleName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetPicture();

    QLabel* box_;
    const PictureList& pictures_;
    QString pendingKey_; // empty once the box holds its picture
};

} // namespace kst

#include "demoshop.h"

#include "benchsupport.h"

#include <QFile>
#include <QLabel>

namespace kst::bench {

QByteArray DemoImageBytes() {
    QFile file(DemoImage());
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no demo image at %s", qPrintable(DemoImage()));
    return file.readAll();
}

QString DollarCaption(int price) {
    return QStringLiteral("($%1)").arg(10 * price);
}

ShopCaptionCheck::ShopCaptionCheck(const std::vector<ShopCaption>& captions) {
    for (const auto& [caption, price] : captions)
        captions_.emplace_back(caption, DollarCaption(price));
}

bool ShopCaptionCheck::operator()() const {
    for (const auto& [caption, text] : captions_)
        if (caption->text() != text)
            return false;
    return true;
}

} // namespace kst::bench

#include "demoshop.h"

#include "benchsupport.h"
#include "core/valuemodel.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace kst::bench {

std::vector<ShopColumnValues> DemoShopColumns() {
    QFile file(DemoImage());
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no demo image at %s", qPrintable(DemoImage()));
    const QByteArray image = file.readAll();
    std::vector<ShopColumnValues> columns;
    for (const ValueKind& kind : kValueKinds)
        if (kind.format == Format::Price)
            columns.push_back(
                {kind.entries->control, kind.control, kind.caption, ValueIn(image, kind, 0)});
    return columns;
}

std::vector<ShopColumnValues> ShopColumnsOnShow(QWidget* window) {
    std::vector<ShopColumnValues> columns;
    for (const ValueKind& kind : kValueKinds) {
        if (kind.format != Format::Price)
            continue;
        auto* box = window->findChild<QLineEdit*>(QLatin1String(kind.control));
        columns.push_back({kind.entries->control, kind.control, kind.caption, box->text().toInt()});
    }
    return columns;
}

QString DollarCaption(int price) {
    return QStringLiteral("($%1)").arg(10 * price);
}

ShopCaptionCheck::ShopCaptionCheck(QWidget* window, const std::vector<ShopColumnValues>& columns) {
    for (const ShopColumnValues& column : columns)
        captions_.emplace_back(window->findChild<QLabel*>(QLatin1String(column.dollarCaption)),
                               DollarCaption(column.price));
}

bool ShopCaptionCheck::operator()() const {
    for (const auto& [caption, text] : captions_)
        if (caption->text() != text)
            return false;
    return true;
}

} // namespace kst::bench

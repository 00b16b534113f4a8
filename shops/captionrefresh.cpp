#include "captionrefresh.h"

#include "app/programcontrol.h"
#include "captions.h"
#include "numberbox.h"
#include "shoptable.h"

#include <QAbstractSlider>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

namespace kst {

namespace {

constexpr int kIntervalMs = 50;

struct EnemyCaption {
    const char* source;
    const char* caption;
    QString (*format)(int);
};

// Refreshed first, in this order; the five price captions follow in page order.
constexpr EnemyCaption kEnemyCaptions[] = {{"AISLDR", "AILBL", SliderCaption},
                                           {"TireSLDR", "TiresLBL", SliderCaption},
                                           {"TurboSLDR", "TurboLBL", SliderCaption},
                                           {"EnemyCashTXT", "MoneyxLBL", PrizeMoneyCaption}};

template <typename T> T* Control(QWidget* window, const char* name) {
    return window->findChild<T*>(QLatin1String(name));
}

} // namespace

CaptionRefresh::CaptionRefresh(QWidget* window, ProgramControl& control)
    : QObject(window), timer_(new QTimer(window)) {
    timer_->setObjectName(QStringLiteral("tmr"));
    timer_->setInterval(kIntervalMs);
    for (const EnemyCaption& row : kEnemyCaptions)
        rows_.push_back({Control<QAbstractSlider>(window, row.source),
                         Control<QLineEdit>(window, row.source),
                         Control<QLabel>(window, row.caption), row.format});
    for (const ShopCategory& category : kShopCategories)
        rows_.push_back({nullptr, Control<QLineEdit>(window, category.priceBox),
                         Control<QLabel>(window, category.dollarCaption), PriceCaption});
    connect(timer_, &QTimer::timeout, this,
            [this, &control] { control.Handle([this] { Tick(); }); });
}

void CaptionRefresh::Enable() {
    if (!timer_->isActive())
        timer_->start();
}

void CaptionRefresh::Tick() {
    for (const Row& row : rows_) {
        const int value = row.slider ? row.slider->value() : NumberBox::NumberIn(row.box->text());
        const QString text = row.format(value);
        // Setting a caption to the text it has would only cost a repaint and a relayout.
        if (row.caption->text() == text)
            continue;
        row.caption->setText(text);
        if (row.caption->property("autoSize").toBool())
            row.caption->adjustSize();
    }
}

} // namespace kst

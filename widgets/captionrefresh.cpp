#include "captionrefresh.h"

#include "core/captions.h"
#include "numberbox.h"
#include "programcontrol.h"

#include <QAbstractSlider>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace kst {

namespace {

constexpr int kIntervalMs = 50;

} // namespace

CaptionRefresh::CaptionRefresh(QObject* parent, ProgramControl& control)
    : QObject(parent), timer_(new QTimer(this)) {
    timer_->setObjectName(QStringLiteral("tmr"));
    timer_->setInterval(kIntervalMs);
    control.Connect(timer_, &QTimer::timeout, this, [this] { Tick(); });
}

void CaptionRefresh::Add(QAbstractSlider* source, QLabel* caption, Format format) {
    rows_.push_back({source, nullptr, caption, format});
}

void CaptionRefresh::Add(NumberBox* source, QLabel* caption, Format format) {
    rows_.push_back({nullptr, source->Box(), caption, format});
}

void CaptionRefresh::Enable() {
    if (!timer_->isActive())
        timer_->start();
}

void CaptionRefresh::Tick() {
    for (const Row& row : rows_) {
        const int value = row.slider ? row.slider->value() : NumberBox::NumberIn(row.box->text());
        const QString text = CaptionText(row.format, value);
        // Setting a caption to the text it has would only cost a repaint and a relayout.
        if (row.caption->text() == text)
            continue;
        row.caption->setText(text);
        if (row.caption->property("autoSize").toBool())
            row.caption->adjustSize();
    }
}

} // namespace kst

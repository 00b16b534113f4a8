#include "numberbox.h"

#include "programcontrol.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace kst {

namespace {

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

NumberBox::NumberBox(QLineEdit* box, int ceiling, ProgramControl& control)
    : QObject(box), box_(box), ceiling_(ceiling) {
    box_->installEventFilter(this);
    control.Connect(box_, &QLineEdit::textChanged, this, [this] { ApplyChangeRule(); });
}

int NumberBox::Value() const {
    return qMin(NumberIn(box_->text()), ceiling_);
}

void NumberBox::SetValue(int value) {
    box_->setText(QString::number(value));
}

bool NumberBox::DiscardsKey(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return false; // arrows, Home, End and the like type nothing
    return text.size() != 1 || !IsDigit(text.front()) ||
           event.modifiers().testFlag(Qt::ControlModifier);
}

QString NumberBox::Ruled(const QString& text, int ceiling) {
    QString digits;
    for (const QChar c : text)
        if (IsDigit(c))
            digits += c;
    if (NumberIn(digits) > ceiling)
        return QString::number(ceiling);
    return digits;
}

int NumberBox::NumberIn(const QString& text) {
    // Five characters at most, so the sum stays far inside an int; longer texts cannot reach
    // a box, but are capped all the same.
    int number = 0;
    for (const QChar c : text) {
        if (!IsDigit(c))
            continue;
        number = qMin(number * 10 + (c.unicode() - '0'), 1000000);
    }
    return number;
}

bool NumberBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && DiscardsKey(*static_cast<QKeyEvent*>(event)))
        return true;
    return QObject::eventFilter(watched, event);
}

void NumberBox::ApplyChangeRule() {
    const QString ruled = Ruled(box_->text(), ceiling_);
    // Replacing the text runs the rule once more, which then leaves it alone.
    if (ruled != box_->text())
        box_->setText(ruled);
}

} // namespace kst

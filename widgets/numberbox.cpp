#include "numberbox.h"

#include "programcontrol.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace kst {

namespace {

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The digits of a text, in whatever script, as "0" to "9".
QString AsciiDigits(const QString& text) {
    QString digits;
    for (const QChar c : text)
        if (c.category() == QChar::Number_DecimalDigit)
            digits += QChar(u'0' + c.digitValue());
    return digits;
}

} // namespace

NumberBox::NumberBox(QLineEdit* box, int ceiling, ProgramControl& control)
    : QObject(box), box_(box), ceiling_(ceiling) {
    box_->setAttribute(Qt::WA_InputMethodEnabled, false);
    box_->setInputMethodHints(Qt::ImhDigitsOnly);
    box_->installEventFilter(this);
    control.Connect(box_, &QLineEdit::textChanged, this, [this] {
        if (!loading_)
            loaded_.Touch();
        ApplyChangeRule();
    });
    // An edit that leaves the text as it was (a paste of the same number) changes nothing that
    // textChanged would tell, yet the user has set the value.
    control.Connect(box_, &QLineEdit::textEdited, this, [this] { loaded_.Touch(); });
}

int NumberBox::Value() const {
    return qMin(NumberIn(box_->text()), ceiling_);
}

void NumberBox::SetValue(int value) {
    // The change rule runs at once, so a stored price above the ceiling shows as the ceiling;
    // the file's own value is what a save compares with.
    loading_ = true;
    box_->setText(QString::number(value));
    loading_ = false;
    loaded_.Load(value);
}

bool NumberBox::DiscardsKey(const QKeyEvent& event) {
    // The box undoes and redoes its own typing, as any text box does.
    if (event.matches(QKeySequence::Undo) || event.matches(QKeySequence::Redo))
        return false;
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
    const QString digits = AsciiDigits(text);
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
    if (event->type() == QEvent::InputMethod) {
        TakeInputMethodText(*static_cast<QInputMethodEvent*>(event));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void NumberBox::TakeInputMethodText(const QInputMethodEvent& event) {
    const QString digits = AsciiDigits(event.commitString());
    if (!digits.isEmpty())
        box_->insert(digits);
}

void NumberBox::ApplyChangeRule() {
    const QString ruled = Ruled(box_->text(), ceiling_);
    // Replacing the text runs the rule once more, which then leaves it alone.
    if (ruled != box_->text())
        box_->setText(ruled);
}

} // namespace kst

#pragma once

#include <QObject>

class QKeyEvent;
class QLineEdit;

namespace kst {

class ProgramControl;

// The rules of a numeric entry box (the price boxes and the prize money box): a key filter
// that lets only typed digits in, and a change rule that keeps the number at or below a
// ceiling whatever changed the text.
class NumberBox : public QObject {
    Q_OBJECT

public:
    NumberBox(QLineEdit* box, int ceiling, ProgramControl& control);

    QLineEdit* box() const { return box_; }
    // The box's number; an empty box counts as 0.
    int Value() const;
    void SetValue(int value);

    // Whether a key press types a character other than a digit. Backspace and characters typed
    // with Ctrl count as typed characters; Tab and Delete only move focus or edit.
    static bool DiscardsKey(const QKeyEvent& event);
    // Text that reaches the box without typing (paste, drop) keeps only its digits, and a
    // number above the ceiling becomes the ceiling.
    static QString Ruled(const QString& text, int ceiling);
    // The number a box's text stands for: its digits, an empty text counting as 0.
    static int NumberIn(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyChangeRule();

    QLineEdit* box_;
    int ceiling_;
};

} // namespace kst

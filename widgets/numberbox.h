#pragma once

#include "core/loadedvalue.h"

#include <QObject>

class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;

namespace kst {

class ProgramControl;

// The rules of a numeric entry box (the price boxes and the prize money box): a key filter
// that lets only typed digits in, and a change rule that keeps the number at or below a
// ceiling whatever changed the text. Input methods are off, so a box never shows a composition
// that Apply would not write.
class NumberBox : public QObject {
    Q_OBJECT

public:
    NumberBox(QLineEdit* box, int ceiling, ProgramControl& control);

    QLineEdit* Box() const { return box_; }
    // The box's number; an empty box counts as 0.
    int Value() const;
    // Shows a value loaded from the image, which becomes the value a save compares with.
    void SetValue(int value);
    // Calls write with the box's number if the user changed the box and the number differs
    // from the one in the file at the load or the last write.
    template <typename Write> void SaveIfChanged(Write&& write) {
        loaded_.SaveIfChanged(Value(), write);
    }
    bool Unapplied() const { return loaded_.Unapplied(Value()); }

    // Whether a key press types a character other than a digit. Backspace and characters typed
    // with Ctrl count as typed characters, but for Undo and Redo; Tab and Delete only move
    // focus or edit.
    static bool DiscardsKey(const QKeyEvent& event);
    // Text that reaches the box without typing (paste, drop, an input method) keeps only its
    // digits, those of any script turned into "0" to "9", and a number above the ceiling
    // becomes the ceiling.
    static QString Ruled(const QString& text, int ceiling);
    // The number a box's text stands for: its digits, an empty text counting as 0.
    static int NumberIn(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyChangeRule();
    // Drops a composition in progress and types the digits of a committed text.
    void TakeInputMethodText(const QInputMethodEvent& event);

    QLineEdit* box_;
    int ceiling_;
    LoadedValue loaded_;
    bool loading_ = false;
};

} // namespace kst

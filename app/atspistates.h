#pragma once

class QAccessibleInterface;
class QWidget;

namespace kst {

// Tells AT-SPI clients on Linux the current value of one state of a widget ("visible",
// "showing", "focused"). Qt's bridge sends only some state changes, and a client that keeps
// the states it has seen never learns the others. Does nothing where no AT-SPI bridge runs.
void TellState(QWidget* widget, const char* state, bool on);
// The same for any accessible object, also one that is part of a widget.
void TellState(QAccessibleInterface* face, const char* state, bool on);

// From now on a changed accessible name or description reaches AT-SPI clients with the new
// text. Qt's bridge sends the object in its place, and a screen reader that speaks the text
// the event carries then says nothing.
void TellChangedTexts();

} // namespace kst

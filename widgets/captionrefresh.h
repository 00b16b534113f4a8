#pragma once

#include "core/valuemodel.h"

#include <QObject>
#include <vector>

class QAbstractSlider;
class QLabel;
class QLineEdit;
class QTimer;

namespace kst {

class NumberBox;
class ProgramControl;

// The timer "tmr" that rewrites the captions translating the edited numbers (slider values,
// prize money and prices in dollars) every 50 ms, whatever changed their sources. The pages
// register their captions; a tick refreshes them in the order they were registered. The timer
// stays stopped until the first race is loaded and is never stopped after that.
class CaptionRefresh : public QObject {
    Q_OBJECT

public:
    CaptionRefresh(QObject* parent, ProgramControl& control);

    // The caption shows the slider's position or the box's number in that format.
    void Add(QAbstractSlider* source, QLabel* caption, Format format);
    void Add(NumberBox* source, QLabel* caption, Format format);

    // Starts the refresh; starting it again while it runs keeps it running undisturbed.
    void Enable();
    // One tick: every caption set from its source, in the order registered.
    void Tick();

private:
    struct Row {
        // The source: a slider, or else a number box.
        QAbstractSlider* slider;
        QLineEdit* box;
        QLabel* caption;
        Format format;
    };

    QTimer* timer_;
    std::vector<Row> rows_;
};

} // namespace kst

#pragma once

#include <QObject>
#include <vector>

class QAbstractSlider;
class QLabel;
class QLineEdit;
class QTimer;
class QWidget;

namespace kst {

class ProgramControl;

// The timer "tmr" that rewrites the nine captions translating the edited numbers (slider
// values, prize money and prices in dollars) every 50 ms, whatever changed their sources.
// It stays stopped until the first race is loaded and is never stopped after that.
class CaptionRefresh : public QObject {
public:
    CaptionRefresh(QWidget* window, ProgramControl& control);

    // Starts the refresh; starting it again while it runs keeps it running undisturbed.
    void Enable();
    QTimer* timer() const { return timer_; }
    // One tick: every caption set from its source, in a fixed order.
    void Tick();

private:
    struct Row {
        // The source: a slider, or else a number box.
        QAbstractSlider* slider;
        QLineEdit* box;
        QLabel* caption;
        QString (*format)(int);
    };

    QTimer* timer_;
    std::vector<Row> rows_;
};

} // namespace kst

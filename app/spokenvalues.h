#pragma once

#include <QObject>
#include <vector>

class QWidget;

namespace kst {

class EditorPage;
struct ValueControls;

// Keeps what assistive technology says about the window in step with what it shows, by
// listening to the controls: the price boxes name their part and describe their dollar amount,
// the prize money box its dollar amount, the sliders and their captions speak their value in
// decimal and hexadecimal, and each race is described by its racers and tracks. Every change
// of a name or description is announced. Frames that are shown or hidden tell it for all they
// hold, a list that gains the focus tells its selected item, and Ctrl+Tab and Ctrl+Shift+Tab
// switch pages.
class SpokenValues : public QObject {
    Q_OBJECT

public:
    SpokenValues(QWidget* window, const std::vector<EditorPage*>& pages);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The value kinds' controls and captions, named and described after the value they show.
    void FollowNumberBox(const ValueControls& controls);
    void FollowSlider(const ValueControls& controls);
    void NameList(const ValueControls& controls);
    void WatchFrames(QWidget* window, const std::vector<EditorPage*>& pages);
    void AddPageShortcuts(QWidget* window);
};

} // namespace kst

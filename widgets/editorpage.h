#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <vector>

class QGroupBox;
class QLabel;
class QListWidget;
class QWidget;

namespace kst {

struct ValueKind;

// The controls that show the values of one kind on its page: the list whose selected entry
// picks the value, the box or slider that edits it, and the caption that translates it.
struct ValueControls {
    const ValueKind* kind;
    QListWidget* list;
    QWidget* editor;
    QLabel* caption;
};

// One page of the window: a frame that the page fills from its own form, and what the window
// asks of it. The window shows one page at a time, the one of the selected tab.
class EditorPage : public QObject {
    Q_OBJECT

public:
    explicit EditorPage(QGroupBox* frame);

    QGroupBox* Frame() const { return frame_; }
    // Loads a newly opened image, the first entry of every list selected.
    virtual void LoadFirst() = 0;
    // Loads what the page shows again from the image, keeping its selection.
    virtual void Reload() = 0;
    // The names of the values on show that the user changed and Save would write.
    virtual QStringList UnappliedValues() const { return {}; }
    // Writes those values.
    virtual void Save() {}
    // A move in a list of the page that would drop a typed or moved value runs settle() first
    // and goes ahead only when it returns true.
    virtual void AskBeforeMoving(const std::function<bool()>& /*settle*/) {}
    // The controls of the page's values, in the order of the value table.
    virtual std::vector<ValueControls> Controls() const { return {}; }
    // Enables the frame while an image is open, or always if the page needs none, and shows
    // it only then and while its tab is selected.
    void Show(bool imageOpen, bool tabSelected);

protected:
    virtual bool NeedsImage() const { return true; }

private:
    QGroupBox* frame_;
};

// The row of a page's binding table for a kind, found by the kind's name. Every kind of a page
// has its controls on it, so a kind without a row is a fault of the program, reported at once.
template <typename Row, std::size_t N>
const Row& BindingOf(const Row (&rows)[N], const char* kindName) {
    for (const Row& row : rows)
        if (qstrcmp(row.kind, kindName) == 0)
            return row;
    qFatal("no control for the value %s", kindName);
}

} // namespace kst

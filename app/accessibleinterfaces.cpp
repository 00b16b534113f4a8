#include "accessibleinterfaces.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QStyle>
#include <QTabBar>
#include <map>

namespace kst {

namespace {

// How the characters of a one-line text group into words: letters and digits form words,
// blanks and other marks runs of their own.
int CharacterClass(QChar c) {
    if (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('\''))
        return 0;
    return c.isSpace() ? 1 : 2;
}

// The unit of the given boundary type around an offset of a one-line text, as [start, end).
// A box holds one line, so sentences, lines and paragraphs are all of it. At the end of the
// text a character is empty and a word is the last one.
std::pair<int, int> UnitAt(const QString& text, int offset, QAccessible::TextBoundaryType type) {
    const int length = int(text.size());
    offset = qBound(0, offset, length);
    switch (type) {
    case QAccessible::CharBoundary: {
        if (offset == length)
            return {length, length};
        const int size = text.at(offset).isHighSurrogate() && offset + 1 < length ? 2 : 1;
        return {offset, offset + size};
    }
    case QAccessible::WordBoundary: {
        if (length == 0)
            return {0, 0};
        const int inside = offset == length ? length - 1 : offset;
        const int kind = CharacterClass(text.at(inside));
        int start = inside, end = inside + 1;
        while (start > 0 && CharacterClass(text.at(start - 1)) == kind)
            --start;
        while (end < length && CharacterClass(text.at(end)) == kind)
            ++end;
        return {start, end};
    }
    case QAccessible::SentenceBoundary:
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary:
    case QAccessible::NoBoundary:
        break;
    }
    return {0, length};
}

QString Cut(const QString& text, std::pair<int, int> unit, int* start, int* end) {
    *start = unit.first;
    *end = unit.second;
    return text.mid(unit.first, unit.second - unit.first);
}

// A one-line text box. Qt's own interface loops for ever when asked for the word at the end of
// the text and reports empty attribute runs, which makes screen readers cut the last
// character; this one computes every answer from the box's public API.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* box)
        : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return Shown();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = Box()->isReadOnly();
        state.editable = !state.readOnly;
        state.passwordEdit = Box()->echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }

    // Selections: a box has at most one.
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !Box()->hasSelectedText())
            return;
        *start = Box()->selectionStart();
        *end = *start + Box()->selectedText().size();
    }
    int selectionCount() const override { return Box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0)
            Box()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0)
            Box()->setSelection(start, end - start);
    }

    int cursorPosition() const override { return Box()->cursorPosition(); }
    void setCursorPosition(int position) override { Box()->setCursorPosition(position); }

    QString text(int start, int end) const override { return Shown().mid(start, end - start); }
    int characterCount() const override { return int(Shown().size()); }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                         int* end) const override {
        const QString shown = Shown();
        return Cut(shown, UnitAt(shown, offset, type), start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                             int* end) const override {
        const QString shown = Shown();
        const int at = UnitAt(shown, offset, type).first;
        if (at == 0 || (type == QAccessible::CharBoundary && offset <= 0))
            return Cut(shown, {0, 0}, start, end);
        return Cut(shown, UnitAt(shown, at - 1, type), start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                            int* end) const override {
        const QString shown = Shown();
        const int length = int(shown.size());
        const int at = offset >= length ? length : UnitAt(shown, offset, type).second;
        if (at >= length)
            return Cut(shown, {length, length}, start, end);
        return Cut(shown, UnitAt(shown, at, type), start, end);
    }

    // One run without attributes covers the whole text.
    QString attributes(int offset, int* start, int* end) const override {
        Q_UNUSED(offset);
        *start = 0;
        *end = characterCount();
        return QString();
    }

    QRect characterRect(int offset) const override {
        // The cursor's rectangle is the one place the box tells; the other characters lie at
        // their advance from it.
        const QString shown = Shown();
        const QFontMetrics metrics = Box()->fontMetrics();
        const QRect cursor = Box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = cursor.x() + metrics.horizontalAdvance(shown.left(offset)) -
                      metrics.horizontalAdvance(shown.left(Box()->cursorPosition()));
        const int width = offset < shown.size() ? metrics.horizontalAdvance(shown.at(offset)) : 0;
        const QRect local(x, cursor.y(), width, cursor.height());
        return QRect(Box()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = Box()->mapFromGlobal(point);
        return Box()->rect().contains(local) ? Box()->cursorPositionAt(local) : -1;
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        Box()->setCursorPosition(endIndex);
        Box()->setCursorPosition(startIndex);
    }

    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (Box()->isReadOnly())
            return;
        Box()->setText(Box()->text().replace(start, end - start, text));
    }

private:
    QLineEdit* Box() const { return static_cast<QLineEdit*>(widget()); }
    QString Shown() const { return Box()->displayText(); }
};

// A part of a widget that has no widget of its own: a tab of a tab strip, an item of a list.
// It is valid as long as its widget lives and holds that many parts, and pressing it selects it.
template <typename Owner>
class PartAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PartAccessible(Owner* owner, int index) : owner_(owner), index_(index) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    bool isValid() const override { return owner_ && index_ < owner_->count(); }
    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return owner_ ? owner_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(owner_);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    QPointer<Owner> owner_;
    int index_;
};

// A page tab: selected when it is the current one. The tab strip, not the tab, holds the focus.
class TabAccessible : public PartAccessible<QTabBar> {
public:
    using PartAccessible::PartAccessible;

    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return QString();
        if (t == QAccessible::Name)
            return owner_->tabText(index_).remove(QLatin1Char('&'));
        if (t == QAccessible::Description)
            return owner_->tabToolTip(index_);
        return QString();
    }
    QRect rect() const override {
        if (!isValid())
            return QRect();
        const QRect tab = owner_->tabRect(index_);
        return QRect(owner_->mapToGlobal(tab.topLeft()), tab.size());
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = true;
        state.selected = owner_->currentIndex() == index_;
        state.invisible = !owner_->isVisible() || !owner_->isTabVisible(index_);
        state.disabled = !owner_->isEnabled() || !owner_->isTabEnabled(index_);
        return state;
    }

    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && !state().disabled)
            owner_->setCurrentIndex(index_);
    }
};

// An item of a list: named by its text, or its accessible text where one is set, and described
// by its accessible description. Selected as the list shows it; the focus stays with the list.
class ListItemAccessible : public PartAccessible<QListWidget> {
public:
    using PartAccessible::PartAccessible;

    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return QString();
        const QListWidgetItem* item = owner_->item(index_);
        if (t == QAccessible::Name) {
            const QString name = item->data(Qt::AccessibleTextRole).toString();
            return name.isEmpty() ? item->text() : name;
        }
        if (t == QAccessible::Description)
            return item->data(Qt::AccessibleDescriptionRole).toString();
        return QString();
    }
    QRect rect() const override {
        if (!isValid())
            return QRect();
        const QRect place = owner_->visualItemRect(owner_->item(index_));
        return QRect(owner_->viewport()->mapToGlobal(place.topLeft()), place.size());
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = true;
        state.focusable = true;
        state.selected = owner_->item(index_)->isSelected();
        state.invisible = !owner_->isVisible();
        // An item scrolled out of the list is there but not on screen.
        state.offscreen =
            !owner_->viewport()->rect().intersects(owner_->visualItemRect(owner_->item(index_)));
        state.disabled = !owner_->isEnabled();
        return state;
    }

    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && owner_->isEnabled())
            owner_->setCurrentRow(index_);
    }
};

// A widget whose children for assistive technology are its parts, made when first asked for
// and kept until the widget goes.
template <typename Widget, typename Part> class PartsAccessible : public QAccessibleWidget {
public:
    PartsAccessible(Widget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    ~PartsAccessible() override {
        for (const auto& part : parts_)
            QAccessible::deleteAccessibleInterface(part.second);
    }

    int childCount() const override { return Count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= Count())
            return nullptr;
        auto found = parts_.find(index);
        if (found == parts_.end()) {
            auto* part = new Part(static_cast<Widget*>(widget()), index);
            found = parts_.emplace(index, QAccessible::registerAccessibleInterface(part)).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& part : parts_)
            if (QAccessible::accessibleInterface(part.second) == child)
                return part.first;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < Count(); ++i)
            if (child(i)->rect().contains(x, y))
                return child(i);
        return nullptr;
    }

private:
    int Count() const { return static_cast<Widget*>(widget())->count(); }

    mutable std::map<int, QAccessible::Id> parts_;
};

QAccessibleInterface* CreateInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("QLineEdit"))
        return new LineEditAccessible(static_cast<QLineEdit*>(object));
    if (className == QLatin1String("QTabBar"))
        return new PartsAccessible<QTabBar, TabAccessible>(static_cast<QTabBar*>(object),
                                                           QAccessible::PageTabList);
    if (className == QLatin1String("QListWidget"))
        return new PartsAccessible<QListWidget, ListItemAccessible>(
            static_cast<QListWidget*>(object), QAccessible::List);
    return nullptr;
}

} // namespace

void InstallAccessibleInterfaces() {
    QAccessible::installFactory(CreateInterface);
}

} // namespace kst

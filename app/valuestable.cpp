#include "valuestable.h"

#include "core/captions.h"
#include "core/messages.h"
#include "core/roster.h"
#include "core/valueexchange.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>

namespace kst {

namespace {

// "Buzz Motor", or "Race 12 (Guido, Uncle John)": the races are named by number and racers.
QString EntryName(const ValueKind& kind, int index) {
    if (kind.entries->names)
        return QString::fromUtf8(kind.entries->names[index]);
    const RaceRacers& racers = kRoster[index];
    QString names = QString::fromUtf8(racers.first.name);
    if (racers.second.portrait)
        names += QStringLiteral(", ") + QString::fromUtf8(racers.second.name);
    return tabletext::RaceEntry(index + 1, names);
}

QString Setting(const Value& value, const QString& text) {
    return QStringLiteral("%1[%2]=%3")
        .arg(QLatin1String(value.kind->name))
        .arg(value.index)
        .arg(text);
}

} // namespace

ValuesTable::ValuesTable(QObject* parent)
    : QAbstractTableModel(parent),
      editedIcon_(QIcon::fromTheme(QStringLiteral("document-edit"),
                                   QApplication::style()->standardIcon(QStyle::SP_FileIcon))) {}

int ValuesTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int ValuesTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

int ValuesTable::Shown(int row) const {
    const auto typed = typed_.find(row);
    return typed != typed_.end() ? typed->second : rows_[std::size_t(row)].number;
}

QVariant ValuesTable::Text(int row, int column) const {
    const Value& value = rows_[std::size_t(row)];
    const ValueKind& kind = *value.kind;
    switch (column) {
    case Page:
        return kind.page == Page::Racers ? kRacersPageTitle : kShopsPageTitle;
    case Entry:
        return EntryName(kind, value.index);
    case What:
        return QString::fromUtf8(kind.label);
    case Offset:
        return QStringLiteral("0x") + QString::number(OffsetOf(kind, value.index), 16).toUpper();
    case Width:
        return patchtext::Bytes(kind.width);
    case InFile:
        return value.number;
    case New:
        return Shown(row);
    case Caption:
        return CaptionText(kind.format, Shown(row));
    default:
        return typed_.count(row) ? tabletext::kEdited : QString();
    }
}

QVariant ValuesTable::data(const QModelIndex& index, int role) const {
    const int row = index.row(), column = index.column();
    switch (role) {
    case Qt::DecorationRole:
        // On the typed number itself, and beside the word in its own column.
        return (column == New || column == Edited) && typed_.count(row) ? QVariant(editedIcon_)
                                                                        : QVariant();
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Text(row, column);
    case kSortRole:
        // The offset and the width sort as numbers, not as their text.
        if (column == Offset)
            return OffsetOf(*rows_[std::size_t(row)].kind, rows_[std::size_t(row)].index);
        if (column == Width)
            return rows_[std::size_t(row)].kind->width;
        return Text(row, column);
    case Qt::AccessibleTextRole: {
        // A screen reader that moves along a row hears which column each cell is in.
        const QString text = Text(row, column).toString();
        return tabletext::kHeaders[column] + QStringLiteral(": ") +
               (text.isEmpty() ? tabletext::kNotEdited : text);
    }
    default:
        return {};
    }
}

QVariant ValuesTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return QAbstractTableModel::headerData(section, orientation, role);
    return tabletext::kHeaders[section];
}

Qt::ItemFlags ValuesTable::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == New ? flags | Qt::ItemIsEditable : flags;
}

bool ValuesTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != New)
        return false;
    return TypeIn({{index.row(), value.toString()}}).isEmpty();
}

int ValuesTable::Highest(int row) const {
    return std::max(rows_[std::size_t(row)].kind->maximum, rows_[std::size_t(row)].number);
}

int ValuesTable::RowOf(const ValueKind* kind, int index) const {
    const auto first = std::find_if(rows_.begin(), rows_.end(),
                                    [kind](const Value& value) { return value.kind == kind; });
    return int(first - rows_.begin()) + index;
}

QString ValuesTable::TypeIn(const std::vector<std::pair<int, QString>>& cells) {
    QStringList settings;
    for (const auto& [row, text] : cells)
        settings << Setting(rows_[std::size_t(row)], text);
    const ValueImport typed = ReadSettings(settings, image_);
    if (typed.Refused())
        return typed.refusal;
    for (const auto& cell : cells)
        typed_.erase(cell.first);
    for (const ValueChange& change : typed.changes)
        typed_[RowOf(change.kind, change.index)] = change.after;
    AllChanged();
    return {};
}

void ValuesTable::Load(const QByteArray& image) {
    // The rows stay the same values; only their numbers change, so the view keeps its selection.
    const bool first = rows_.empty();
    if (first)
        beginResetModel();
    image_ = image;
    rows_ = AllValues(image);
    for (auto typed = typed_.begin(); typed != typed_.end();)
        typed = typed->second == rows_[std::size_t(typed->first)].number ? typed_.erase(typed)
                                                                         : std::next(typed);
    if (first)
        endResetModel();
    AllChanged();
}

void ValuesTable::AllChanged() {
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    emit EditsChanged();
}

std::vector<Value> ValuesTable::Edits() const {
    std::vector<Value> edits;
    for (const auto& [row, number] : typed_)
        edits.push_back({rows_[std::size_t(row)].kind, rows_[std::size_t(row)].index, number});
    return edits;
}

QStringList ValuesTable::UnappliedValues() const {
    QStringList labels;
    for (const Value& value : Edits())
        labels << EntryLabel(*value.kind, value.index);
    return labels;
}

void ValuesTable::Revert() {
    typed_.clear();
    AllChanged();
}

} // namespace kst

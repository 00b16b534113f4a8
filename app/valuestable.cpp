#include "valuestable.h"

#include "core/captions.h"
#include "core/roster.h"

#include <QApplication>
#include <QStyle>

namespace kst {

namespace {

const char* const kHeaders[ValuesTable::ColumnCount] = {
    "Page", "Entry", "Value", "Offset", "Width", "In the file", "New", "Caption", "Edited"};

QString PageName(const ValueKind& kind) {
    return kind.entries == &kRaceList ? QStringLiteral("Enemy Racers") : QStringLiteral("Shops");
}

// "Buzz Motor", or "Race 12 (Guido, Uncle John)": a race by its number and its racers, as the
// race page shows them.
QString EntryName(const ValueKind& kind, int index) {
    if (kind.entries->names)
        return QString::fromUtf8(kind.entries->names[index]);
    const RaceRacers& racers = kRoster[index];
    QString names = QString::fromUtf8(racers.first.name);
    if (racers.second.portrait)
        names += QStringLiteral(", ") + QString::fromUtf8(racers.second.name);
    return QStringLiteral("Race %1 (%2)").arg(index + 1).arg(names);
}

} // namespace

ValuesTable::ValuesTable(QObject* parent)
    : QAbstractTableModel(parent),
      editedIcon_(QApplication::style()->standardIcon(QStyle::SP_FileDialogDetailedView)) {}

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

QVariant ValuesTable::data(const QModelIndex& index, int role) const {
    const Value& value = rows_[std::size_t(index.row())];
    const ValueKind& kind = *value.kind;
    const bool edited = typed_.count(index.row()) != 0;
    if (role == Qt::DecorationRole)
        return index.column() == Edited && edited ? QVariant(editedIcon_) : QVariant();
    if (role == kSortRole) {
        switch (index.column()) {
        case Offset:
            return OffsetOf(kind, value.index);
        case Width:
            return kind.width;
        case InFile:
            return value.number;
        case New:
            return Shown(index.row());
        default:
            break;
        }
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != kSortRole)
        return {};
    switch (index.column()) {
    case Page:
        return PageName(kind);
    case Entry:
        return EntryName(kind, value.index);
    case What:
        return QString::fromUtf8(kind.label);
    case Offset:
        return QStringLiteral("0x") + QString::number(OffsetOf(kind, value.index), 16).toUpper();
    case Width:
        return kind.width == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(kind.width);
    case InFile:
        return value.number;
    case New:
        return Shown(index.row());
    case Caption:
        return CaptionText(kind.format, Shown(index.row()));
    case Edited:
        return edited ? QStringLiteral("Edited") : QString();
    default:
        return {};
    }
}

QVariant ValuesTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(kHeaders[section]);
}

Qt::ItemFlags ValuesTable::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == New ? flags | Qt::ItemIsEditable : flags;
}

QString ValuesTable::Refusal(int row, const QString& text) const {
    const ValueKind& kind = *rows_[std::size_t(row)].kind;
    const QString trimmed = text.trimmed();
    bool whole = false;
    const qlonglong number = trimmed.toLongLong(&whole);
    if (!whole)
        return QStringLiteral("\"%1\" is not a whole number").arg(trimmed);
    if (number < 0)
        return QStringLiteral("%1 is below 0").arg(number);
    if (number > kind.maximum)
        return QStringLiteral("%1 is over the highest, %2").arg(number).arg(kind.maximum);
    return {};
}

bool ValuesTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != New)
        return false;
    return TypeIn({{index.row(), value.toString()}}).isEmpty();
}

QString ValuesTable::TypeIn(const std::vector<std::pair<int, QString>>& cells) {
    for (const auto& [row, text] : cells) {
        const QString refusal = Refusal(row, text);
        if (!refusal.isEmpty()) {
            const Value& value = rows_[std::size_t(row)];
            return QStringLiteral("%1: %2").arg(EntryLabel(*value.kind, value.index), refusal);
        }
    }
    for (const auto& [row, text] : cells) {
        const int number = text.trimmed().toInt();
        if (number == rows_[std::size_t(row)].number)
            typed_.erase(row);
        else
            typed_[row] = number;
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }
    emit EditsChanged();
    return {};
}

void ValuesTable::Load(const QByteArray& image) {
    // The rows stay the same values; only their numbers change, so the view keeps its selection.
    const bool first = rows_.empty();
    if (first)
        beginResetModel();
    rows_ = AllValues(image);
    for (auto typed = typed_.begin(); typed != typed_.end();)
        typed = typed->second == rows_[std::size_t(typed->first)].number ? typed_.erase(typed)
                                                                          : std::next(typed);
    if (first)
        endResetModel();
    else
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
    emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    emit EditsChanged();
}

} // namespace kst

#pragma once

#include "core/valuemodel.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QIcon>
#include <map>
#include <utility>
#include <vector>

namespace kst {

// Every value of the open image as one row: where it lies, the number in the file, and the number
// the user typed for it in the All Values window. The file's numbers come from one read of the
// whole image; typed numbers stay until they are applied or reverted.
class ValuesTable : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Page, Entry, What, Offset, Width, InFile, New, Caption, Edited, ColumnCount };
    // The role that sorts a column: numbers as numbers, the rest as shown.
    static constexpr int kSortRole = Qt::UserRole;

    explicit ValuesTable(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Shows the numbers of this image; typed numbers that now equal the file's are dropped.
    void Load(const QByteArray& image);
    // The typed numbers that differ from the file's, in table order.
    std::vector<Value> Edits() const;
    QStringList UnappliedValues() const;
    void Revert();

    // The highest number a row's editor takes: the control's, or the stored one above it.
    int Highest(int row) const;
    // Sets rows' new numbers from text, all or none, with the checks of a value list: returns
    // the first refusal, naming the value, or an empty string.
    QString TypeIn(const std::vector<std::pair<int, QString>>& cells);

signals:
    void EditsChanged();

private:
    int Shown(int row) const;
    QVariant Text(int row, int column) const;
    int RowOf(const ValueKind* kind, int index) const;
    // Every cell may show another number, and the edits may have changed.
    void AllChanged();

    QByteArray image_;
    std::vector<Value> rows_; // the file's numbers
    std::map<int, int> typed_;
    QIcon editedIcon_;
};

} // namespace kst

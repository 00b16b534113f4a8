#include "firstfilehost.h"

namespace kst {

FileName FirstFileHost::ChooseFile(QWidget* parent, const QStringList& nameFilters,
                                   const QString& selectedFilter, const QString& title) {
    if (firstFile_.IsEmpty())
        return desktop_.ChooseFile(parent, nameFilters, selectedFilter, title);
    return std::exchange(firstFile_, {});
}

} // namespace kst

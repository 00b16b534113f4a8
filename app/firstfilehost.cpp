#include "firstfilehost.h"

namespace kst {

FileName FirstFileHost::ChooseFile(QWidget* parent, const QStringList& nameFilters,
                                   const QString& selectedFilter) {
    if (firstFile_.IsEmpty())
        return desktop_.ChooseFile(parent, nameFilters, selectedFilter);
    return std::exchange(firstFile_, {});
}

} // namespace kst

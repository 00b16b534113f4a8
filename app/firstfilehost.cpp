#include "firstfilehost.h"

namespace kst {

QString FirstFileHost::ChooseFile(QWidget* parent, const QStringList& nameFilters,
                                  const QString& selectedFilter) {
    if (!firstFile_)
        return desktop_.ChooseFile(parent, nameFilters, selectedFilter);
    const QString file = *firstFile_;
    firstFile_.reset();
    return file;
}

} // namespace kst

#include "generaltext.h"

#include "core/gamewords.h"
#include "core/valuemodel.h"
#include "widgets/programcontrol.h"
#include "widgets/widgets.h"

#include <QLineEdit>
#include <QWidget>

namespace kst {

GeneralTextPage::GeneralTextPage(QWidget* window, ImageValues& values, ProgramControl& control)
    : QObject(window), values_(values), control_(control) {
    for (const GameWord& word : kGameWords) {
        auto* box = Child<QLineEdit>(window, word.box);
        boxes_.push_back(box);
        box->setText(QLatin1String(word.text));
        box->setAccessibleName(
            QStringLiteral("%1 %2").arg(QLatin1String(word.role), QLatin1String(word.text)));
    }
}

QString GeneralTextPage::GetText(quint32 offset, quint16 length) {
    control_.RequireDataFile(control_.DataFilePath());
    return values_.ReadText(offset, length);
}

void GeneralTextPage::LoadGeneralText() {
    for (std::size_t i = 0; i < std::size(kGameWords); ++i)
        boxes_[i]->setText(GetText(kGameWords[i].offset, kGameWords[i].length));
}

} // namespace kst

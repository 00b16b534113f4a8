#include "generaltext.h"

#include "core/programcontrol.h"
#include "core/romimage.h"
#include "core/widgets.h"
#include "data/gamewords.h"

#include <QLineEdit>
#include <QWidget>

namespace kst {

GeneralTextPage::GeneralTextPage(QWidget* window, RomImage& rom, ProgramControl& control)
    : QObject(window), rom_(rom), control_(control) {
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
    return DecodeText(rom_.ReadBytes(offset + 1, length));
}

void GeneralTextPage::LoadGeneralText() {
    for (std::size_t i = 0; i < std::size(kGameWords); ++i)
        boxes_[i]->setText(GetText(kGameWords[i].offset, kGameWords[i].length));
}

} // namespace kst

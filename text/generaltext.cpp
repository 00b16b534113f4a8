#include "generaltext.h"

#include "core/gamewords.h"
#include "core/valuemodel.h"
#include "ui_generaltext.h"
#include "widgets/programcontrol.h"

#include <iterator>

namespace kst {

namespace {

// The box of each game word in the page's form, in the order of kGameWords.
constexpr QLineEdit* Ui_GeneralTextPage::*kBoxes[] = {
    &Ui_GeneralTextPage::MenuStatusTXT, &Ui_GeneralTextPage::MenuSearchTXT,
    &Ui_GeneralTextPage::MenuWarpTXT,   &Ui_GeneralTextPage::MenuMapTXT,
    &Ui_GeneralTextPage::SuperCarTXT,   &Ui_GeneralTextPage::LWeightTXT,
    &Ui_GeneralTextPage::CarSpeedTXT,   &Ui_GeneralTextPage::CarGripTXT,
    &Ui_GeneralTextPage::CarTurboTXT,   &Ui_GeneralTextPage::CarFlightTXT,
    &Ui_GeneralTextPage::TownLJTXT,     &Ui_GeneralTextPage::TownFlagoTXT,
    &Ui_GeneralTextPage::TownLantaTXT,  &Ui_GeneralTextPage::TownArontoTXT,
    &Ui_GeneralTextPage::TownPallasTXT, &Ui_GeneralTextPage::TownEtroitTXT,
    &Ui_GeneralTextPage::ShopBuyTXT,    &Ui_GeneralTextPage::ShopSellTXT,
    &Ui_GeneralTextPage::ShopExitTXT,   &Ui_GeneralTextPage::ShopYesTXT,
    &Ui_GeneralTextPage::ShopNoTXT,
};
static_assert(std::size(kBoxes) == std::size(kGameWords), "one box for each game word");

} // namespace

GeneralTextPage::GeneralTextPage(QGroupBox* frame, ImageValues& values, ProgramControl& control)
    : EditorPage(frame), ui_(std::make_unique<Ui::GeneralTextPage>()), values_(values),
      control_(control) {
    ui_->setupUi(frame);
    for (std::size_t i = 0; i < std::size(kGameWords); ++i) {
        const GameWord& word = kGameWords[i];
        QLineEdit* box = ui_.get()->*kBoxes[i];
        box->setText(QLatin1String(word.text));
        box->setAccessibleName(
            QStringLiteral("%1 %2").arg(QLatin1String(word.role), QLatin1String(word.text)));
    }
}

GeneralTextPage::~GeneralTextPage() = default;

QString GeneralTextPage::GetText(quint32 offset, quint16 length) {
    control_.RequireDataFile(control_.DataFilePath());
    return values_.ReadText(offset, length);
}

void GeneralTextPage::LoadGeneralText() {
    for (std::size_t i = 0; i < std::size(kGameWords); ++i)
        (ui_.get()->*kBoxes[i])->setText(GetText(kGameWords[i].offset, kGameWords[i].length));
}

} // namespace kst

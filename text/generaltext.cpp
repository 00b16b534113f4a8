#include "generaltext.h"

#include "app/programcontrol.h"
#include "app/romimage.h"
#include "chartable.h"

#include <QLineEdit>
#include <QWidget>

namespace kst {

// Most words lie in two runs, 0x19B0A to 0x19B4C and 0x19B72 to 0x19B96, one separator byte
// apart; "SUPER CAR" and "L.WEIGHT" lie elsewhere. Only the words' own bytes are read.
const GameWord kGameWords[21] = {
    {"MenuStatusTXT", 0x19B0A, 6}, {"MenuSearchTXT", 0x19B11, 6}, {"MenuWarpTXT", 0x19B18, 4},
    {"MenuMapTXT", 0x19B1D, 3},    {"SuperCarTXT", 0x16AD1, 9},   {"LWeightTXT", 0x19DFE, 8},
    {"CarSpeedTXT", 0x19B80, 5},   {"CarGripTXT", 0x19B86, 4},    {"CarTurboTXT", 0x19B8B, 5},
    {"CarFlightTXT", 0x19B91, 6},  {"TownLJTXT", 0x19B28, 4},     {"TownFlagoTXT", 0x19B2D, 5},
    {"TownLantaTXT", 0x19B33, 5},  {"TownArontoTXT", 0x19B39, 6}, {"TownPallasTXT", 0x19B40, 6},
    {"TownEtroitTXT", 0x19B47, 6}, {"ShopBuyTXT", 0x19B72, 3},    {"ShopSellTXT", 0x19B76, 4},
    {"ShopExitTXT", 0x19B7B, 4},   {"ShopYesTXT", 0x19B21, 3},    {"ShopNoTXT", 0x19B25, 2},
};

GeneralTextPage::GeneralTextPage(QWidget* window, RomImage& rom, ProgramControl& control)
    : QObject(window), window_(window), rom_(rom), control_(control) {}

QString GeneralTextPage::GetText(quint32 offset, quint16 length) {
    control_.RequireDataFile(control_.DataFilePath());
    QString text;
    for (quint32 i = 0; i < length; ++i) {
        const char c = kCharTable[rom_.ReadByte(offset + i + 1)];
        // A byte without a character (a terminator, an unknown glyph) adds nothing.
        if (c != '\0')
            text += QLatin1Char(c);
    }
    return text;
}

void GeneralTextPage::LoadGeneralText() {
    for (const GameWord& word : kGameWords)
        window_->findChild<QLineEdit*>(QLatin1String(word.box))
            ->setText(GetText(word.offset, word.length));
}

} // namespace kst

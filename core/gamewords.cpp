#include "gamewords.h"

#include "chartable.h"

namespace kst {

// Most words lie in two runs, 0x19B0A to 0x19B4C and 0x19B72 to 0x19B96, one separator byte
// apart; "SUPER CAR" and "L.WEIGHT" lie elsewhere. Only the words' own bytes are read.
const GameWord kGameWords[21] = {
    {"MenuStatusTXT", 0x19B0A, 6, "STATUS", "Status menu word"},
    {"MenuSearchTXT", 0x19B11, 6, "SEARCH", "Status menu word"},
    {"MenuWarpTXT", 0x19B18, 4, "WARP", "Status menu word"},
    {"MenuMapTXT", 0x19B1D, 3, "MAP", "Status menu word"},
    {"SuperCarTXT", 0x16AD1, 9, "SUPER CAR", "Status screen word"},
    {"LWeightTXT", 0x19DFE, 8, "L.WEIGHT", "Status screen word"},
    {"CarSpeedTXT", 0x19B80, 5, "SPEED", "Status screen word"},
    {"CarGripTXT", 0x19B86, 4, "GRIP", "Status screen word"},
    {"CarTurboTXT", 0x19B8B, 5, "TURBO", "Status screen word"},
    {"CarFlightTXT", 0x19B91, 6, "FLIGHT", "Status screen word"},
    {"TownLJTXT", 0x19B28, 4, "L.J.", "Warp list town"},
    {"TownFlagoTXT", 0x19B2D, 5, "FLAGO", "Warp list town"},
    {"TownLantaTXT", 0x19B33, 5, "LANTA", "Warp list town"},
    {"TownArontoTXT", 0x19B39, 6, "ARONTO", "Warp list town"},
    {"TownPallasTXT", 0x19B40, 6, "PALLAS", "Warp list town"},
    {"TownEtroitTXT", 0x19B47, 6, "ETROIT", "Warp list town"},
    {"ShopBuyTXT", 0x19B72, 3, "BUY", "Shop menu command"},
    {"ShopSellTXT", 0x19B76, 4, "SELL", "Shop menu command"},
    {"ShopExitTXT", 0x19B7B, 4, "EXIT", "Shop menu command"},
    {"ShopYesTXT", 0x19B21, 3, "YES", "Shop menu answer"},
    {"ShopNoTXT", 0x19B25, 2, "NO", "Shop menu answer"},
};

QString DecodeText(const QByteArray& bytes) {
    QString text;
    for (const char byte : bytes) {
        const char c = kCharTable[static_cast<quint8>(byte)];
        if (c != '\0')
            text += QLatin1Char(c);
    }
    return text;
}

QByteArray EncodeText(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text)
        for (int b = 0; b < 256; ++b)
            if (kCharTable[b] != '\0' && c == QLatin1Char(kCharTable[b])) {
                bytes += char(b);
                break;
            }
    return bytes;
}

} // namespace kst

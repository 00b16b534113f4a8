#include "gamewords.h"

#include "chartable.h"

namespace kst {

// Most words lie in two runs, 0x19B0A to 0x19B4C and 0x19B72 to 0x19B96, one separator byte
// apart; "SUPER CAR" and "L.WEIGHT" lie elsewhere. Only the words' own bytes are read.
const GameWord kGameWords[21] = {
    {0x19B0A, 6, "STATUS", "Status menu word"},      {0x19B11, 6, "SEARCH", "Status menu word"},
    {0x19B18, 4, "WARP", "Status menu word"},        {0x19B1D, 3, "MAP", "Status menu word"},
    {0x16AD1, 9, "SUPER CAR", "Status screen word"}, {0x19DFE, 8, "L.WEIGHT", "Status screen word"},
    {0x19B80, 5, "SPEED", "Status screen word"},     {0x19B86, 4, "GRIP", "Status screen word"},
    {0x19B8B, 5, "TURBO", "Status screen word"},     {0x19B91, 6, "FLIGHT", "Status screen word"},
    {0x19B28, 4, "L.J.", "Warp list town"},          {0x19B2D, 5, "FLAGO", "Warp list town"},
    {0x19B33, 5, "LANTA", "Warp list town"},         {0x19B39, 6, "ARONTO", "Warp list town"},
    {0x19B40, 6, "PALLAS", "Warp list town"},        {0x19B47, 6, "ETROIT", "Warp list town"},
    {0x19B72, 3, "BUY", "Shop menu command"},        {0x19B76, 4, "SELL", "Shop menu command"},
    {0x19B7B, 4, "EXIT", "Shop menu command"},       {0x19B21, 3, "YES", "Shop menu answer"},
    {0x19B25, 2, "NO", "Shop menu answer"},
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

#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace kst {

// A word of the game shown on the "General Text (View Only)" page.
struct GameWord {
    quint32 offset;
    quint16 length;
    // The word as the game spells it, as long as its bytes; the box holds it until an image
    // is opened.
    const char* text;
    // What the word is in the game; with the word, its box's name for screen readers.
    const char* role;
};

// In the order they are loaded, which is not their order in the ROM.
extern const GameWord kGameWords[21];

// Decodes bytes of game text through the character table. Every byte is looked up by itself;
// a byte without a character (a terminator, a glyph the table does not know) adds nothing.
QString DecodeText(const QByteArray& bytes);
// The game's bytes for a text; a character the game has no code for is left out.
QByteArray EncodeText(const QString& text);

} // namespace kst

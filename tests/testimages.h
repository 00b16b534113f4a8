#pragma once

// Images and files for the tests, built in code: no game image is needed. Qt Core only, so the
// suites without a window share them too.
#include "core/romfacts.h"
#include "core/valuemodel.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QtEndian>

namespace kst::test {

inline void PutWord(QByteArray& rom, int offset, quint16 value) {
    qToLittleEndian(value, rom.data() + offset);
}

inline quint16 WordAt(const QByteArray& rom, int offset) {
    return qFromLittleEndian<quint16>(rom.constData() + offset);
}

// A valid image: all zero but for the identification word 0x404C at offset 0.
inline QByteArray ValidRom() {
    QByteArray rom(kRomSize, '\0');
    PutWord(rom, 0, 0x404C);
    return rom;
}

// A valid image whose every byte differs from its neighbours, so a read or write in the wrong
// place shows; every shop price lies below the ceiling.
inline QByteArray PatternedRom() {
    QByteArray rom(kRomSize, '\0');
    for (int i = 0; i < rom.size(); ++i)
        rom[i] = char((i * 13 + 5) & 0xFF);
    PutWord(rom, 0, 0x404C);
    for (const ValueKind& kind : kValueKinds)
        if (kind.format == Format::Price)
            for (int i = 0; i < kind.entries->count; ++i)
                PutValue(rom, kind, i, 100 + int(OffsetOf(kind, i)) % 997);
    return rom;
}

// 512 recognisable bytes, as a copier puts before the image.
inline QByteArray CopierHeader() {
    QByteArray header(kCopierHeaderSize, '\0');
    for (int i = 0; i < header.size(); ++i)
        header[i] = char(0xA5 ^ i);
    return header;
}

// The bytes as a dump that reverses each byte's bits holds them.
inline QByteArray BitReversed(QByteArray bytes) {
    for (char& byte : bytes) {
        quint8 reversed = 0;
        for (int bit = 0; bit < 8; ++bit)
            reversed |= ((quint8(byte) >> bit) & 1) << (7 - bit);
        byte = char(reversed);
    }
    return bytes;
}

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The offsets at which two images differ (a size change lists every offset past the shorter).
inline QList<int> ChangedOffsets(const QByteArray& before, const QByteArray& after) {
    QList<int> changed;
    for (int i = 0; i < qMax(before.size(), after.size()); ++i)
        if (i >= before.size() || i >= after.size() || before[i] != after[i])
            changed << i;
    return changed;
}

// Puts values into an image: "w0x179C6=500" a word, "b0x1897=22" a byte, separated by ",".
inline void PutValues(QByteArray& rom, const QString& values) {
    for (QString value : values.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        value = value.trimmed();
        const int offset = value.section(QLatin1Char('='), 0, 0).mid(1).toInt(nullptr, 16);
        const int number = value.section(QLatin1Char('='), 1).toInt();
        if (value.startsWith(QLatin1Char('b')))
            rom[offset] = char(number);
        else
            PutWord(rom, offset, quint16(number));
    }
}

// A copy of the image with these values put in.
inline QByteArray With(QByteArray rom, const QString& values) {
    PutValues(rom, values);
    return rom;
}

} // namespace kst::test

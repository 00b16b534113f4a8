// kestrune-artgen: draws the racer portraits and track pictures shipped with the editor.
//
//   kestrune-artgen <pictures folder> <montage.png>
//
// Every picture is written as an uncompressed 24-bit BMP, portraits/<key>.bmp and
// tracks/<key>.bmp, and a review sheet of all of them is written as a PNG. The output is the same,
// byte for byte, on every run.

#include "artgen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

quint32 LittleEndian(const QByteArray& bytes, int offset, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(offset + i));
    return value;
}

// The game and the editor expect 24 bits per pixel without compression; check what was written
// rather than trusting the image writer.
bool IsPlainBmp(const QString& path, const QSize& size) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(54);
    return header.size() == 54 && header.startsWith("BM") &&
           LittleEndian(header, 18, 4) == quint32(size.width()) &&
           LittleEndian(header, 22, 4) == quint32(size.height()) &&
           LittleEndian(header, 28, 2) == 24 && LittleEndian(header, 30, 4) == 0;
}

bool WriteBmps(const QDir& folder, const std::vector<Picture>& pictures) {
    for (const Picture& picture : pictures) {
        const QString path = folder.filePath(picture.key + QStringLiteral(".bmp"));
        const QImage rgb = picture.image.convertToFormat(QImage::Format_RGB888);
        if (!rgb.save(path, "BMP") || !IsPlainBmp(path, rgb.size())) {
            std::fprintf(stderr, "kestrune-artgen: could not write %s as a 24-bit BMP\n",
                         qPrintable(path));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kestrune-artgen <pictures folder> <montage.png>\n");
        return 2;
    }
    const QString folderPath = QString::fromLocal8Bit(argv[1]);
    const QString montagePath = QString::fromLocal8Bit(argv[2]);
    const QDir folder(folderPath);
    if (!folder.mkpath(QStringLiteral("portraits")) || !folder.mkpath(QStringLiteral("tracks")) ||
        !QDir().mkpath(QFileInfo(montagePath).absolutePath())) {
        std::fprintf(stderr, "kestrune-artgen: cannot create the output folders\n");
        return 1;
    }

    const std::vector<Picture> portraits = DrawPortraits();
    const std::vector<Picture> tracks = DrawTracks();
    if (!WriteBmps(folder.filePath(QStringLiteral("portraits")), portraits) ||
        !WriteBmps(folder.filePath(QStringLiteral("tracks")), tracks))
        return 1;
    if (!DrawMontage(portraits, tracks).save(montagePath, "PNG")) {
        std::fprintf(stderr, "kestrune-artgen: could not write %s\n", qPrintable(montagePath));
        return 1;
    }
    std::printf("wrote %zu pictures to %s and the montage to %s\n",
                portraits.size() + tracks.size(), qPrintable(folderPath), qPrintable(montagePath));
    return 0;
}

#include "Fixture.h"

#include "core/catalogue/Config.h"
#include "core/catalogue/RomList.h"
#include "core/library/Library.h"

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <cmath>
#include <cstdint>
#include <random>

#include <zip.h>

namespace {
// Text of 16 letters drawn at random, with a line end now and then: deflate packs it to
// a little more than half, and inflating it costs what inflating real data costs.
QByteArray compressibleText(qint64 bytes)
{
    QByteArray data(bytes, Qt::Uninitialized);
    std::mt19937 engine(20240611u);
    static constexpr char Letters[] = "etaoinshrdlucmfw";
    char *out = data.data();
    qint64 at = 0;
    while (at < bytes) {
        std::uint32_t bits = engine();
        for (int i = 0; i < 8 && at < bytes; ++i, bits >>= 4)
            out[at++] = Letters[bits & 15u];
        if ((engine() & 63u) == 0 && at < bytes)
            out[at++] = '\n';
    }
    return data;
}

bool writeZip(const QString &path, const QByteArray &member, const QByteArray &memberName,
              QString &error)
{
    int code = 0;
    zip_t *archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive == nullptr) {
        error = QStringLiteral("cannot create %1 (libzip error %2)").arg(path).arg(code);
        return false;
    }
    zip_source_t *source =
        zip_source_buffer(archive, member.constData(), zip_uint64_t(member.size()), 0);
    const zip_int64_t index =
        source != nullptr ? zip_file_add(archive, memberName.constData(), source, 0) : -1;
    if (index < 0 && source != nullptr)
        zip_source_free(source);
    bool ok = index >= 0 &&
              zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 0) == 0;
    if (!ok) {
        error = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        return false;
    }
    if (zip_close(archive) != 0) {
        error = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        return false;
    }
    return true;
}

// A screen-like picture: smooth colour fields, hard-edged tiles and some noise, so the
// decoders have real work and the JPEG is of a realistic size.
QImage snapshotPicture()
{
    QImage image(SnapshotWidth, SnapshotHeight, QImage::Format_RGB32);
    std::mt19937 engine(7u);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double field =
                std::sin(x / 97.0) + std::cos(y / 61.0) + std::sin((x + y) / 143.0);
            int red = int(128 + 40 * field);
            int green = int(96 + 60 * std::sin(x / 41.0 + y / 53.0));
            int blue = ((x / 32 + y / 32) % 5) * 50;
            const int noise = int(engine() % 25) - 12;
            red = qBound(0, red + noise, 255);
            green = qBound(0, green + noise, 255);
            blue = qBound(0, blue + noise, 255);
            line[x] = qRgb(red, green, blue);
        }
    }
    return image;
}

// Qt reads GIF but does not write it: this writes the picture with a 3-3-2 colour
// palette and LZW codes that never grow past 9 bits (a clear code every 250 pixels).
// Readers decode it like any other GIF, pixel by pixel.
QByteArray gifOf(const QImage &image)
{
    QByteArray gif("GIF89a");
    const auto put16 = [&gif](int value) {
        gif.append(char(value & 0xff));
        gif.append(char((value >> 8) & 0xff));
    };
    put16(image.width());
    put16(image.height());
    gif.append(char(0xf7)); // global colour table of 256 entries, 8 bits a colour
    gif.append(char(0));
    gif.append(char(0));
    for (int index = 0; index < 256; ++index) {
        gif.append(char(((index >> 5) & 7) * 255 / 7));
        gif.append(char(((index >> 2) & 7) * 255 / 7));
        gif.append(char((index & 3) * 255 / 3));
    }
    gif.append(char(0x2c));
    put16(0);
    put16(0);
    put16(image.width());
    put16(image.height());
    gif.append(char(0));
    gif.append(char(8)); // LZW minimum code size

    QByteArray codes;
    std::uint32_t buffer = 0;
    int bitCount = 0;
    const auto putCode = [&](int code) {
        buffer |= std::uint32_t(code) << bitCount;
        bitCount += 9;
        while (bitCount >= 8) {
            codes.append(char(buffer & 0xff));
            buffer >>= 8;
            bitCount -= 8;
        }
    };
    constexpr int Clear = 256;
    constexpr int End = 257;
    int sinceClear = 0;
    putCode(Clear);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (sinceClear == 250) {
                putCode(Clear);
                sinceClear = 0;
            }
            const QRgb pixel = line[x];
            putCode((qRed(pixel) >> 5) << 5 | (qGreen(pixel) >> 5) << 2 | qBlue(pixel) >> 6);
            ++sinceClear;
        }
    }
    putCode(End);
    if (bitCount > 0)
        codes.append(char(buffer & 0xff));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const qsizetype length = std::min<qsizetype>(255, codes.size() - at);
        gif.append(char(length));
        gif.append(codes.constData() + at, length);
    }
    gif.append(char(0));
    gif.append(char(0x3b));
    return gif;
}

bool writeFile(const QString &path, const QByteArray &content, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
} // namespace

bool BuildLaunchFixture(const QString &programDir, const QString &standInEmulator,
                        qint64 zippedBytes, LaunchFixture &fixture, QString &error)
{
    const QDir root(programDir);
    fixture.programDir = root.absolutePath();
    fixture.emulatorDir = root.absoluteFilePath(QStringLiteral("emulator"));
    const QDir emulator(fixture.emulatorDir);
    if (!root.mkpath(QStringLiteral("emulator/zips")) ||
        !root.mkpath(QStringLiteral("emulator/snaps"))) {
        error = QStringLiteral("cannot create the emulator's directories");
        return false;
    }
    fixture.program = emulator.absoluteFilePath(QStringLiteral("emulator"));
    if (!QFile::copy(standInEmulator, fixture.program)) {
        error = QStringLiteral("cannot copy the stand-in emulator %1").arg(standInEmulator);
        return false;
    }

    // The configuration and the ROM list, written by the program's own writers.
    zanku::Library library(fixture.programDir);
    const QString emulatorName = QString::fromLatin1(EmulatorName);
    const zanku::SaveResult config = library.WriteConfig(
        {{emulatorName, QStringLiteral("emulator"), fixture.emulatorDir, QStringLiteral("-run %"),
          QStringLiteral("snaps"), QStringLiteral("zips")}},
        CurrentVersion(root.absoluteFilePath(QLatin1String(ConfigFileName))));
    if (config.status != zanku::SaveResult::Saved) {
        error = QStringLiteral("WriteConfig failed: %1").arg(config.error);
        return false;
    }
    const auto game = [](const char *name, const char *file) {
        GameRecord record;
        record.Name = QString::fromLatin1(name);
        record.File = QString::fromLatin1(file);
        record.Type = QStringLiteral("Bench");
        return record;
    };
    const zanku::SaveResult romList = library.WriteRomList(
        emulatorName,
        {game(PlainGame, "plain"), game(ZippedGame, "zipped.bin"), game(JpegGame, "jpegshot"),
         game(GifGame, "gifshot"), game(BmpGame, "bmpshot"), game(NoPictureGame, "noshot")},
        CurrentVersion(root.absoluteFilePath(RomListFileName(emulatorName))));
    if (romList.status != zanku::SaveResult::Saved) {
        error = QStringLiteral("WriteRomList failed: %1").arg(romList.error);
        return false;
    }

    // The plain games: small files of their own.
    for (const char *file : {"plain", "jpegshot", "gifshot", "bmpshot", "noshot"}) {
        if (!writeFile(emulator.absoluteFilePath(QString::fromLatin1(file)), QByteArray(4096, 'g'),
                       error))
            return false;
    }

    // The zipped game: only its archive is there.
    fixture.archive = emulator.absoluteFilePath(QStringLiteral("zips/zipped.zip"));
    {
        const QByteArray member = compressibleText(zippedBytes);
        if (!writeZip(fixture.archive, member, "zipped.bin", error))
            return false;
    }
    fixture.zippedBytes = zippedBytes;
    fixture.archiveBytes = QFileInfo(fixture.archive).size();

    // The snapshots, one format a game.
    const QImage picture = snapshotPicture();
    const QString jpeg = emulator.absoluteFilePath(QStringLiteral("snaps/jpegshot.jpg"));
    const QString gif = emulator.absoluteFilePath(QStringLiteral("snaps/gifshot.gif"));
    const QString bmp = emulator.absoluteFilePath(QStringLiteral("snaps/bmpshot.bmp"));
    if (!picture.save(jpeg, "JPG", 90) || !picture.save(bmp, "BMP")) {
        error = QStringLiteral("cannot write the JPEG or BMP snapshot");
        return false;
    }
    if (!writeFile(gif, gifOf(picture), error))
        return false;
    fixture.snapshotBytes[0] = QFileInfo(jpeg).size();
    fixture.snapshotBytes[1] = QFileInfo(gif).size();
    fixture.snapshotBytes[2] = QFileInfo(bmp).size();
    return true;
}

#include "CoverLibrary.h"

#include "core/catalogue/EmulatorPlaces.h"
#include "core/files/FileNames.h"
#include "core/preview/Snapshot.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <random>

#include <unistd.h>

namespace {
constexpr int Variants = 32; // distinct pictures of each format

// A vertical gradient of the variant's hue with a little noise: real box art does not
// compress to nothing, and neither does this.
QImage makePicture(QSize size, int variant, std::mt19937 &engine)
{
    QImage image(size, QImage::Format_RGB32);
    const QColor top = QColor::fromHsv((variant * 37) % 360, 200, 230);
    const QColor bottom = QColor::fromHsv((variant * 37 + 120) % 360, 180, 60);
    for (int y = 0; y < size.height(); ++y) {
        const double t = double(y) / size.height();
        const int r = int(top.red() * (1 - t) + bottom.red() * t);
        const int g = int(top.green() * (1 - t) + bottom.green() * t);
        const int b = int(top.blue() * (1 - t) + bottom.blue() * t);
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(engine() % 24) - 12;
            line[x] = qRgb(qBound(0, r + noise, 255), qBound(0, g + noise, 255),
                           qBound(0, b + x * 40 / size.width(), 255));
        }
    }
    return image;
}

bool writeFile(const QString &path, const QByteArray &bytes, QString &error)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        return true;
    error = QStringLiteral("cannot write %1").arg(path);
    return false;
}

// The distinct pictures, encoded once, written under `folder`; their paths in `made`.
bool makeVariants(const QString &folder, QSize size, CoverLibrary &library, QStringList &pngs,
                  QStringList &jpegs, QString &error)
{
    std::mt19937 engine(20261207u);
    QDir().mkpath(folder);
    for (int v = 0; v < Variants; ++v) {
        const QImage picture = makePicture(size, v, engine);
        for (const char *format : {"PNG", "JPG"}) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, format, format[0] == 'J' ? 90 : -1);
            const QString path = QStringLiteral("%1/%2.%3")
                                     .arg(folder)
                                     .arg(v)
                                     .arg(QString::fromLatin1(format).toLower());
            if (!writeFile(path, bytes, error))
                return false;
            (format[0] == 'J' ? jpegs : pngs).append(path);
            library.pictureBytes += bytes.size();
            ++library.distinctPictures;
        }
    }
    return true;
}

bool linkPicture(const QString &from, const QString &to, QString &error)
{
    QDir().mkpath(QFileInfo(to).path());
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    error = QStringLiteral("cannot link %1").arg(to);
    return false;
}
} // namespace

bool BuildCoverLibrary(const QString &root, int emulators, int games, int covers, QSize pictureSize,
                       CoverLibrary &library, QString &error)
{
    if (!BuildFixture(root, emulators, games, library.fixture, error))
        return false;
    std::vector<zanku::EmulatorPlaces> places;
    for (const EmulatorRecord &emulator : library.fixture.emulators)
        places.emplace_back(emulator, library.fixture.programDir);
    for (const FixtureGame &game : library.fixture.games) {
        const GameRecord &record = game.record;
        const EmulatorRecord &emulator =
            library.fixture.emulators[size_t(record.EmulatorIndex - 1)];
        library.tiles.push_back(
            {{emulator.Name, record.Name, record.File},
             places[size_t(record.EmulatorIndex - 1)].coverPlaceOf(record.File, record.Name)});
    }

    QStringList pngs, jpegs;
    if (!makeVariants(root + QStringLiteral("/pictures"), pictureSize, library, pngs, jpegs, error))
        return false;
    // Every n-th game has a cover, alternately PNG box art and a JPEG cover.
    const int step = std::max(1, int(library.tiles.size()) / std::max(1, covers));
    for (int i = 0, made = 0; i < int(library.tiles.size()) && made < covers; i += step, ++made) {
        const CoverPlace &place = library.tiles[size_t(i)].place;
        const QString base = QFileInfo(StripExtension(place.file)).fileName();
        const bool png = made % 2 == 0;
        const QString to =
            png ? place.snapshotDir + QStringLiteral("/Named_Boxarts/") + ThumbnailLabel(base) +
                      QStringLiteral(".png")
                : place.snapshotDir + QStringLiteral("/covers/") + base + QStringLiteral(".jpg");
        if (!linkPicture((png ? pngs : jpegs)[(made / 2) % Variants], to, error))
            return false;
        library.covered.push_back(i);
    }
    return true;
}

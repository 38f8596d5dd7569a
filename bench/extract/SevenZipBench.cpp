#include "SevenZipBench.h"

#include "Generator.h"
#include "Report.h"
#include "core/unzip/ArchiveMembers.h"
#include "core/unzip/VBUnzBas.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr qsizetype GameSize = 64 << 20;
constexpr int ManyCount = 3000;
constexpr qsizetype ManySize = 100'000'000 / ManyCount;

const struct {
    const char *file;
    const char *label;
} Archives[] = {
    {"d-game-lzma2.7z", "(d) 1 x 64 MiB, 7z LZMA2"},
    {"e-many-files-lzma2.7z", "(e) 3,000 files, 100 MB, 7z LZMA2"},
};

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// `7z a` of everything in the folder, LZMA2 at the default level.
bool sevenZipFolder(const QString &folder, const QString &archive)
{
    QProcess sevenZip;
    sevenZip.setWorkingDirectory(folder);
    sevenZip.start("7z", {"a", "-bd", "-bso0", "-m0=lzma2", "-mx=5", archive + ".partial", "*"});
    return sevenZip.waitForFinished(-1) && sevenZip.exitCode() == 0 &&
           QFile::rename(archive + ".partial", archive);
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

double timed(const std::function<bool()> &work, bool &ok)
{
    QElapsedTimer timer;
    timer.start();
    ok = work() && ok;
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

bool MakeSevenZipArchives(const QString &directory)
{
    const QDir dir(directory);
    for (const auto &archive : Archives) {
        const QString path = dir.absoluteFilePath(archive.file);
        if (QFileInfo::exists(path))
            continue;
        out() << "making " << archive.file << Qt::endl;
        QTemporaryDir files(dir.filePath("files-XXXXXX"));
        bool ok = files.isValid();
        if (QString(archive.file).startsWith('d')) {
            QByteArray game(GameSize, '\0');
            Generator(3).fill(game);
            ok = ok && writeFile(files.filePath("game.bin"), game);
        } else {
            QByteArray content(ManySize, '\0');
            Generator generator(4);
            for (int i = 0; i < ManyCount && ok; ++i) {
                generator.fill(content);
                ok = writeFile(files.filePath(QStringLiteral("set%1/level%2/part%3/file%4.bin")
                                                  .arg(i / 300, 2, 10, QLatin1Char('0'))
                                                  .arg(i / 30 % 10)
                                                  .arg(i / 6 % 5)
                                                  .arg(i, 4, 10, QLatin1Char('0'))),
                               content);
            }
        }
        if (!ok || !sevenZipFolder(files.path(), path))
            return false;
    }
    return true;
}

bool MeasureSevenZip(const QString &directory, int runs)
{
    const QDir dir(directory);
    QDir work(dir.filePath("work-7z"));
    bool ok = true;
    out() << "\n| Archive | ExtractArchive | 7z x | Time ratio | Target |\n";
    out() << "|---|---:|---:|---:|---|\n";
    for (const auto &archive : Archives) {
        const QString path = dir.filePath(archive.file);
        quint64 bytes = 0;
        for (const ArchiveMember &member : ReadArchiveMembers(path).members)
            bytes += member.size;
        if (bytes == 0) {
            out() << "missing " << path << ": run bench/make-archives.sh first" << Qt::endl;
            return false;
        }
        std::vector<double> ours, theirs;
        for (int run = 0; run <= runs; ++run) { // run 0 warms the caches: not counted
            const QString mine = work.filePath(QStringLiteral("zanku-%1").arg(run));
            const QString command = work.filePath(QStringLiteral("7z-%1").arg(run));
            const double mineTime = timed([&] { return ExtractArchive(path, mine) == 0; }, ok);
            const double commandTime = timed(
                [&] {
                    return QProcess::execute(
                               "7z", {"x", "-bd", "-bso0", "-y", "-o" + command, path}) == 0;
                },
                ok);
            if (run > 0) {
                ours.push_back(mineTime);
                theirs.push_back(commandTime);
            }
            QDir(mine).removeRecursively();
            QDir(command).removeRecursively();
        }
        const double ratio = median(ours) / median(theirs);
        out() << "| " << archive.label << " | "
              << QString::number(double(bytes) / 1e6 / median(ours), 'f', 0) << " | "
              << QString::number(double(bytes) / 1e6 / median(theirs), 'f', 0) << " | "
              << QString::number(ratio, 'f', 2)
              << "x | <= 1.1x the time of 7z x: " << Verdict(ratio <= 1.1) << " |\n";
    }
    work.removeRecursively();
    out().flush();
    return ok;
}

// Extraction benchmark: UnzipArchive against the classic "unzip -o -qq" on three archives,
// side by side in one run, plus bare zlib inflate + CRC of the large member in memory and
// cp of the stored member (an in-kernel copy, the limit for a stored member).
//
//   bench-extract --make DIR   makes the archives in DIR (deterministic; kept if present)
//   bench-extract DIR [RUNS [ONLY]]  measures; RUNS defaults to 5; ONLY: a, b, c, or 7z for
//                                    d and e (SevenZipBench: 7-Zip archives against 7z x)
//
// bench/make-archives.sh makes the archives and installs unzip when it is missing.

#include "Generator.h"
#include "Report.h"
#include "SevenZipBench.h"
#include "core/unzip/VBUnzBas.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr qsizetype LargeSize = 300'000'000;
constexpr int ManyCount = 3000;
constexpr qsizetype ManySize = 100'000'000 / ManyCount;
constexpr std::time_t FixedTime = 1'000'000'000; // September 2001

bool writeArchive(const QString &path, const std::function<bool(zip_t *)> &fill)
{
    const QString partial = path + ".partial";
    int error = 0;
    zip_t *archive =
        zip_open(QFile::encodeName(partial).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    if (!fill(archive)) {
        zip_discard(archive);
        return false;
    }
    if (zip_close(archive) != 0)
        return false;
    QFile::remove(path);
    return QFile::rename(partial, path);
}

bool addMember(zip_t *archive, const QByteArray &name, const QByteArray &data, int method)
{
    zip_source_t *source =
        zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
    const zip_int64_t index = source ? zip_file_add(archive, name.constData(), source, 0) : -1;
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    return zip_set_file_compression(archive, zip_uint64_t(index), method, 6) == 0 &&
           zip_file_set_mtime(archive, zip_uint64_t(index), FixedTime, 0) == 0;
}

int makeArchives(const QString &directory)
{
    QDir().mkpath(directory);
    const QDir dir(directory);
    QByteArray large(LargeSize, '\0');
    Generator(1).fill(large);
    const auto single = [&](const QString &file, int method) {
        if (QFileInfo::exists(dir.filePath(file)))
            return true;
        out() << "making " << file << Qt::endl;
        return writeArchive(dir.filePath(file), [&](zip_t *archive) {
            return addMember(archive, "large.bin", large, method);
        });
    };
    if (!single("a-large-deflated.zip", ZIP_CM_DEFLATE) ||
        !single("c-large-stored.zip", ZIP_CM_STORE))
        return 1;
    large = QByteArray();

    if (!QFileInfo::exists(dir.filePath("b-many-files.zip"))) {
        out() << "making b-many-files.zip" << Qt::endl;
        std::vector<QByteArray> contents(ManyCount, QByteArray(ManySize, '\0'));
        Generator generator(2);
        for (QByteArray &content : contents)
            generator.fill(content);
        const bool ok = writeArchive(dir.filePath("b-many-files.zip"), [&](zip_t *archive) {
            for (int i = 0; i < ManyCount; ++i) {
                const QByteArray name = QStringLiteral("set%1/level%2/part%3/file%4.bin")
                                            .arg(i / 300, 2, 10, QLatin1Char('0'))
                                            .arg(i / 30 % 10)
                                            .arg(i / 6 % 5)
                                            .arg(i, 4, 10, QLatin1Char('0'))
                                            .toUtf8();
                if (!addMember(archive, name, contents[size_t(i)], ZIP_CM_DEFLATE))
                    return false;
            }
            return true;
        });
        if (!ok)
            return 1;
    }
    if (!MakeSevenZipArchives(directory))
        return 1;
    out() << "archives ready in " << dir.absolutePath() << Qt::endl;
    return 0;
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

double seconds(const std::function<bool()> &work, bool &ok)
{
    QElapsedTimer timer;
    timer.start();
    ok = work() && ok;
    return double(timer.nsecsElapsed()) / 1e9;
}

quint64 uncompressedTotal(const QString &path)
{
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, nullptr);
    if (!archive)
        return 0;
    quint64 total = 0;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &st) == 0)
            total += st.size;
    }
    zip_discard(archive);
    return total;
}

// Bare zlib: inflate the raw member, held in memory, into a reused buffer, with CRC.
double bareInflate(const QString &path, int runs)
{
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, nullptr);
    zip_stat_t st;
    if (!archive || zip_stat_index(archive, 0, 0, &st) != 0)
        return 0;
    QByteArray raw(qsizetype(st.comp_size), '\0');
    zip_file_t *file = zip_fopen_index(archive, 0, ZIP_FL_COMPRESSED);
    const bool read =
        file && zip_fread(file, raw.data(), st.comp_size) == zip_int64_t(st.comp_size);
    if (file)
        zip_fclose(file);
    zip_discard(archive);
    if (!read)
        return 0;
    std::vector<unsigned char> buffer(size_t(1) << 20);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        bool ok = true;
        times.push_back(seconds(
            [&] {
                z_stream stream{};
                inflateInit2(&stream, -MAX_WBITS);
                stream.next_in = reinterpret_cast<Bytef *>(raw.data());
                stream.avail_in = uInt(raw.size());
                uLong crc = crc32(0, nullptr, 0);
                int rc = Z_OK;
                while (rc == Z_OK) {
                    stream.next_out = buffer.data();
                    stream.avail_out = uInt(buffer.size());
                    rc = inflate(&stream, Z_NO_FLUSH);
                    crc = crc32_z(crc, buffer.data(), buffer.size() - stream.avail_out);
                }
                inflateEnd(&stream);
                return rc == Z_STREAM_END && crc == st.crc;
            },
            ok));
        if (!ok)
            return 0;
    }
    return double(st.size) / 1e6 / median(times);
}

struct Row {
    QString name;
    double ours = 0;
    double unzip = 0;
    QString target;
    double cp = 0; // (c) only: cp of the extracted member into a fresh folder
};

int measure(const QString &directory, int runs, const QString &only)
{
    if (only == "7z")
        return MeasureSevenZip(directory, runs) ? 0 : 1;
    const QDir dir(directory);
    QDir work(dir.filePath("work"));
    const struct {
        const char *file;
        const char *label;
        const char *target;
    } archives[] = {
        {"a-large-deflated.zip", "(a) 1 x 300 MB, deflated", ">= 1.5x unzip"},
        {"b-many-files.zip", "(b) 3,000 files, 100 MB, deflated", ">= 1.0x unzip"},
        {"c-large-stored.zip", "(c) 1 x 300 MB, stored", ">= 5x unzip"}, // and >= 0.5x cp
    };
    std::vector<Row> rows;
    bool ok = true;
    for (const auto &archive : archives) {
        if (!only.isEmpty() && !QString(archive.file).startsWith(only))
            continue;
        const QString path = dir.filePath(archive.file);
        const quint64 bytes = uncompressedTotal(path);
        if (bytes == 0) {
            out() << "missing " << path << ": run bench/make-archives.sh first" << Qt::endl;
            return 1;
        }
        std::vector<double> ours, theirs, copies;
        // For the stored member, cp of the same bytes (an in-kernel copy) is the limit.
        const bool stored = QString(archive.file).startsWith('c');
        const QString source = work.filePath("cp-source");
        if (stored)
            ok = UnzipArchive(path, source) == 0 && ok;
        // Run 0 warms the caches and the memory the outputs take; it is not counted.
        for (int run = 0; run <= runs; ++run) {
            const QString mine = work.filePath(QStringLiteral("zanku-%1").arg(run));
            const QString classic = work.filePath(QStringLiteral("unzip-%1").arg(run));
            QDir(mine).removeRecursively();
            QDir(classic).removeRecursively();
            const double mineTime = seconds([&] { return UnzipArchive(path, mine) == 0; }, ok);
            const double classicTime = seconds(
                [&] {
                    return QProcess::execute("unzip", {"-o", "-qq", path, "-d", classic}) == 0;
                },
                ok);
            const QString copy = work.filePath(QStringLiteral("cp-%1").arg(run));
            const double copyTime =
                stored ? seconds(
                             [&] {
                                 return QDir().mkpath(copy) &&
                                        QProcess::execute("cp", {source + "/large.bin", copy}) == 0;
                             },
                             ok)
                       : 0;
            if (run > 0) {
                ours.push_back(mineTime);
                theirs.push_back(classicTime);
                copies.push_back(copyTime);
            }
            QDir(mine).removeRecursively();
            QDir(classic).removeRecursively();
            QDir(copy).removeRecursively();
        }
        rows.push_back({archive.label, double(bytes) / 1e6 / median(ours),
                        double(bytes) / 1e6 / median(theirs), archive.target,
                        stored ? double(bytes) / 1e6 / median(copies) : 0});
    }
    work.removeRecursively();
    const double bare =
        only.isEmpty() ? bareInflate(dir.filePath("a-large-deflated.zip"), runs) : 0;

    out() << "\nMedian of " << runs << " runs, MB/s (MB = 10^6 bytes of extracted data)\n\n";
    out() << "| Archive | UnzipArchive | unzip -o -qq | Ratio | Target |\n";
    out() << "|---|---:|---:|---:|---|\n";
    for (const Row &row : rows)
        out() << "| " << row.name << " | " << QString::number(row.ours, 'f', 0) << " | "
              << QString::number(row.unzip, 'f', 0) << " | "
              << QString::number(row.ours / row.unzip, 'f', 2) << "x | " << row.target << " |\n";
    for (const Row &row : rows) {
        if (row.cp > 0)
            out() << "| (c) cp of the same member into a fresh folder | "
                  << QString::number(row.cp, 'f', 0) << " | | "
                  << QString::number(row.ours / row.cp, 'f', 2) << "x of cp | >= 0.5x cp |\n";
    }
    if (only.isEmpty())
        out() << "| (a) bare zlib inflate + CRC in memory | " << QString::number(bare, 'f', 0)
              << " | | " << QString::number(bare / rows[0].ours, 'f', 2)
              << "x of UnzipArchive | within 1.3x |\n";
    out().flush();
    if (only.isEmpty())
        ok = MeasureSevenZip(directory, runs) && ok;
    if (!ok)
        out() << "\nsome runs failed" << Qt::endl;
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == "--make")
        return makeArchives(args[1]);
    if (!args.isEmpty() && args.size() <= 3)
        return measure(args[0], args.size() >= 2 ? std::max(1, args[1].toInt()) : 5, args.value(2));
    out() << "usage: bench-extract --make DIR | bench-extract DIR [RUNS [a|b|c|7z]]" << Qt::endl;
    return 2;
}

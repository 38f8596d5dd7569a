// An extraction folder's marker and the extraction journal as a crash or a hand edit
// might leave them: any bytes. What reads writes back as it read, and a damaged line
// leaves every other record as it was.
#include "core/launch/ExtractionJournal.h"
#include "core/launch/ExtractionMarker.h"

#include <QStringList>

#include <algorithm>

namespace {
// The records a text stands for, in an order of their own (sets and hashes have none).
QByteArrayList markerRecords(const QByteArray &text)
{
    const std::optional<zanku::ExtractionMarker> marker = zanku::ParseMarker(text);
    QByteArrayList lines = marker ? zanku::FormatMarker(*marker).split('\n') : QByteArrayList();
    std::sort(lines.begin(), lines.end());
    return lines;
}

QStringList journalRecords(const QStringList &lines)
{
    const auto entries = zanku::ParseJournal(lines);
    return entries ? zanku::FormatJournal(*entries) : QStringList();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArrayList marker = markerRecords(text);
    // Read, written and read again: the same records.
    if (const auto read = zanku::ParseMarker(text);
        read && markerRecords(zanku::FormatMarker(*read)) != marker)
        __builtin_trap();
    // A damaged line after the first (the title) costs only itself.
    QByteArrayList lines = text.split('\n');
    const qsizetype at = 1 + qsizetype(size % size_t(std::max<qsizetype>(lines.size(), 1)));
    if (lines.size() > 1 && lines.first() == "Zanku extraction marker 3") {
        lines.insert(std::min(at, lines.size()), QByteArrayLiteral("file x \xff"));
        if (markerRecords(lines.join('\n')) != marker)
            __builtin_trap();
    }

    const QStringList journal = QString::fromUtf8(text).split(u'\n');
    const QStringList entries = journalRecords(journal);
    if (!entries.isEmpty() && journalRecords(entries) != entries)
        __builtin_trap();
    if (journal.size() > 1) {
        QStringList damaged = journal;
        damaged.insert(std::min(at, damaged.size()), QStringLiteral("1 2 3 token - relative"));
        if (journalRecords(damaged) != entries)
            __builtin_trap();
    }
    return 0;
}

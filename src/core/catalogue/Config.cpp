#include "core/catalogue/Config.h"

namespace {
enum class RecordState { Unset, Invalid, Valid };
} // namespace

ParsedConfig ParseConfig(const QStringList &lines)
{
    ParsedConfig result;
    RecordState state = RecordState::Unset;
    qsizetype next = 0;
    const auto takeLine = [&]() { return next < lines.size() ? lines.at(next++) : QString(); };

    while (next < lines.size()) {
        const QString line = lines.at(next++);
        if (line.startsWith(u'[')) {
            state = RecordState::Invalid;
            EmulatorRecord record;
            // The closing bracket is not examined: the last character is dropped, whole
            // (two UTF-16 units for a character beyond the Basic Multilingual Plane).
            record.Name = line.mid(1);
            const qsizetype last = record.Name.size() - 1;
            const bool pair = last >= 1 && record.Name.at(last).isLowSurrogate() &&
                              record.Name.at(last - 1).isHighSurrogate();
            record.Name.chop(pair ? 2 : 1);
            for (size_t field = 1; field < zanku::EmulatorFields.size(); ++field)
                record.*zanku::EmulatorFields[field].member = takeLine();
            if (!record.Options.startsWith(u';'))
                state = RecordState::Valid;
            result.emulators.push_back(std::move(record));
        }
        if (state != RecordState::Valid) {
            result.pastVersion = true;
            return result;
        }
    }
    return result;
}

QStringList FormatConfig(const std::vector<EmulatorRecord> &emulators)
{
    QStringList lines;
    lines.reserve(qsizetype(emulators.size()) * 7);
    for (const EmulatorRecord &emulator : emulators) {
        lines << u'[' + emulator.Name + u']';
        for (size_t field = 1; field < zanku::EmulatorFields.size(); ++field)
            lines << emulator.*zanku::EmulatorFields[field].member;
        lines << QStringLiteral(";");
    }
    return lines;
}

zanku::ListRead<EmulatorRecord> ReadConfigFile(const QString &path)
{
    const TextReadResult file = ReadTextLines(path);
    zanku::ListRead<EmulatorRecord> read{{}, file.status, file.error, file.version};
    ParsedConfig parsed = ParseConfig(file.lines);
    read.pastVersion = parsed.pastVersion;
    if (!parsed.pastVersion)
        read.records = std::move(parsed.emulators);
    return read;
}

#include "core/catalogue/Config.h"

#include "core/common/Messages.h"
#include "core/files/TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace {
enum class RecordState { Unset, Invalid, Valid };

QString configPath()
{
    return QDir(App().ProgramDir).filePath(QString::fromLatin1(ConfigFileName));
}
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
            record.Program = takeLine();
            record.Path = takeLine();
            record.ZippedRomPath = takeLine();
            record.SnapshotPath = takeLine();
            record.Options = takeLine();
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
        lines << u'[' + emulator.Name + u']' << emulator.Program << emulator.Path
              << emulator.ZippedRomPath << emulator.SnapshotPath << emulator.Options
              << QStringLiteral(";");
    }
    return lines;
}

void ReadConfig()
{
    AppState &app = App();
    EnterDirectory(app.ProgramDir);
    app.EmulatorCount = 0;
    app.Emulators.resize(1);

    const QString path = configPath();
    if (!QFileInfo::exists(path))
        return;
    const TextReadResult read = ReadTextLines(path);
    if (!read.lines) {
        ShowReadError(path, read.error);
        return;
    }

    ParsedConfig parsed = ParseConfig(*read.lines);
    if (parsed.pastVersion) {
        ShowMessage(QStringLiteral("Error"),
                    QStringLiteral("Zanku.ini belongs to a past version, please delete it and "
                                   "reconfigure emulators!"));
        app.EndProgram(1);
        return; // only reached when the end is intercepted
    }
    app.Emulators.insert(app.Emulators.end(), std::make_move_iterator(parsed.emulators.begin()),
                         std::make_move_iterator(parsed.emulators.end()));
    app.EmulatorCount = int(parsed.emulators.size());
}

bool WriteConfig(const std::vector<EmulatorRecord> &emulators)
{
    EnterDirectory(App().ProgramDir);
    return SaveTextLines(configPath(), FormatConfig(emulators));
}

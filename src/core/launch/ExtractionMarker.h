#pragma once

#include "core/common/ProgramFiles.h"

#include "core/launch/Session.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

namespace zanku {

// Where an extraction folder's life stands. A folder is made empty, its marker written at
// once as Extracting (a folder found so after a crash holds nothing of the player's);
// Ready once the archive is out and the kept files are back; InUse once an emulator
// started on it; Keeping while the player's files go to "Saves". The marker goes last.
enum class FolderState { Extracting, Ready, InUse, Keeping };

// The marker file a launch writes into the folder it extracts into: a random token (the
// journal keeps it too, so only a folder the program made is ever removed), its state,
// the emulator and the game, the sessions using it, every file the extraction wrote with
// its size and modification time, and the files brought back from "Saves". Whatever else
// lies in the folder when it is removed, or has changed since, the emulator wrote.
// Names are kept as the file system's bytes, so a name that is not UTF-8 survives.
struct ExtractionMarker {
    struct Stamp {
        qint64 size = 0;
        qint64 modified = 0; // nanoseconds since 1970

        friend bool operator==(const Stamp &, const Stamp &) = default;
    };

    // An emulator's run on the folder: the Zanku that started it counts its play time;
    // once that Zanku has gone, the one that sees the run end does.
    struct Run {
        Session session;
        Session by;
        qint64 started = 0; // seconds since 1970
    };

    QString token;
    FolderState state = FolderState::Extracting;
    Session owner; // the Zanku extracting or keeping it: another leaves it alone meanwhile
    QString emulator;
    QString gameFile;
    QString gameName;
    QList<Session> sessions;
    QList<Run> runs;
    QHash<QByteArray, Stamp> extracted; // relative path: as the extraction wrote it
    QSet<QByteArray> restored;          // relative paths brought back from "Saves"
};

inline constexpr auto MarkerName = own::Marker;

// A new random token.
QString NewToken();

// The marker as its file holds it, and back. A damaged line is skipped and the others
// read as they are; a file of another kind reads as nothing.
QByteArray FormatMarker(const ExtractionMarker &marker);
std::optional<ExtractionMarker> ParseMarker(const QByteArray &text);

// The folder's marker; none when it has none, or it is not a regular file of sane size.
std::optional<ExtractionMarker> ReadMarker(const QString &folder);
// Replaces the folder's marker in one step, never with a short or empty file; false with
// `error` when it cannot.
bool WriteMarker(const QString &folder, const ExtractionMarker &marker, QString *error = nullptr);
// Reads, changes and writes the marker while holding the folder's lock, so two Zanku
// adding their sessions lose neither. False when there is no marker or it cannot be
// written.
// A `change` returning false leaves the marker as it was.
bool UpdateMarker(const QString &folder, const std::function<bool(ExtractionMarker &)> &change);

} // namespace zanku

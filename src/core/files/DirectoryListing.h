#pragma once

#include <QByteArrayView>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <atomic>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

// Reading a directory's names in one pass, as fast as the system gives them: the import
// lists folders of tens of thousands of games with it.

namespace zanku {

enum class EntryType { File, Folder, Other };

// Hands each visible entry of a directory to `take(name, type, faithful)`, in one pass
// (`faithful`: the name as decoded gives back the name on disk); false when the
// directory cannot be read.
template <typename Take>
bool ListDirectory(const QString &directory, const std::atomic<bool> &cancel, Take take)
{
#ifdef Q_OS_UNIX
    DIR *stream = opendir(QFile::encodeName(directory).constData());
    if (stream == nullptr)
        return false;
    while (const dirent *entry = readdir(stream)) {
        if (cancel.load(std::memory_order_relaxed))
            break;
        if (entry->d_name[0] == '.')
            continue; // hidden, "." and ".."
        QString name;
        bool faithful = true;
        const QByteArrayView bytes(entry->d_name);
        if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; })) {
            name = QString::fromLatin1(bytes); // plain ASCII, most names: the quick way
        } else {
            name = QFile::decodeName(entry->d_name);
            // Bytes that do not decode come back as replacement characters.
            faithful = !name.contains(QChar::ReplacementCharacter) ||
                       QFile::encodeName(name) == entry->d_name;
        }
        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) { // follow links, as the catalogue does
            struct stat info {};
            type = fstatat(dirfd(stream), entry->d_name, &info, 0) != 0 ? DT_UNKNOWN
                   : S_ISREG(info.st_mode)                              ? DT_REG
                   : S_ISDIR(info.st_mode)                              ? DT_DIR
                                                                        : DT_UNKNOWN;
        }
        take(std::move(name),
             type == DT_REG   ? EntryType::File
             : type == DT_DIR ? EntryType::Folder
                              : EntryType::Other,
             faithful);
    }
    closedir(stream);
#else
    if (!QDir(directory).isReadable())
        return false;
    QDirIterator it(directory, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    while (it.hasNext() && !cancel.load(std::memory_order_relaxed)) {
        const QFileInfo info = it.nextFileInfo();
        take(info.fileName(),
             info.isFile()  ? EntryType::File
             : info.isDir() ? EntryType::Folder
                            : EntryType::Other,
             true);
    }
#endif
    return true;
}

// About how many entries a directory holds, to make room for them at once: its size
// grows with its names. 0 when it cannot tell.
inline size_t EntryCountHint(const QString &directory)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (!directory.isEmpty() && stat(QFile::encodeName(directory).constData(), &info) == 0)
        return size_t(std::clamp<off_t>(info.st_size / 24, 0, 1 << 17));
#else
    Q_UNUSED(directory);
#endif
    return 0;
}

} // namespace zanku

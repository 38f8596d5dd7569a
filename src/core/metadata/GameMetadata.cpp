#include "core/metadata/GameMetadata.h"
#include "core/metadata/PegasusText.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <limits>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zanku {
namespace {
// A description longer than this is not a description.
constexpr qint64 MaxDescriptionBytes = 4 * 1024 * 1024;

// The bytes at the description's place, when `path` is still a regular file holding them.
// Opening never waits, as for every file another program owns.
#ifdef Q_OS_UNIX
QByteArray readPlace(const QString &path, qint64 offset, qint64 length)
{
    if (offset < 0 || length <= 0 || length > MaxDescriptionBytes)
        return {};
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray bytes;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && offset + length <= status.st_size) {
        bytes.resize(length);
        const ssize_t read = ::pread(fd, bytes.data(), size_t(length), off_t(offset));
        bytes.resize(read == ssize_t(length) ? length : 0);
    }
    ::close(fd);
    return bytes;
}
#else
QByteArray readPlace(const QString &path, qint64 offset, qint64 length)
{
    QFile file(path);
    if (offset < 0 || length <= 0 || length > MaxDescriptionBytes || !QFileInfo(path).isFile() ||
        !file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return {};
    const QByteArray bytes = file.read(length);
    return bytes.size() == length ? bytes : QByteArray();
}
#endif

// The element's text, its entities and character sections read as the file meant them.
QString xmlText(const QByteArray &raw, GameMetadata::DescriptionForm form)
{
    const QByteArray encoding = form == GameMetadata::XmlLatin1 ? "ISO-8859-1" : "UTF-8";
    QXmlStreamReader xml("<?xml version=\"1.0\" encoding=\"" + encoding + "\"?><d>" + raw + "</d>");
    const QString text = xml.readNextStartElement() ? xml.readElementText() : QString();
    return xml.hasError() ? QString() : text; // the file changed since it was read
}
} // namespace

static_assert(sizeof(GameMetadata) <= 64);

GameMetadata::GameMetadata(const MetadataFields &fields)
    : descriptionForm(fields.descriptionForm)
    , descriptionOffset(fields.descriptionOffset)
    , descriptionLength(fields.descriptionLength)
{
    const QString *texts[FieldCount] = {&fields.path,      &fields.name,      &fields.date,
                                        &fields.developer, &fields.publisher, &fields.genre,
                                        &fields.players,   &fields.rating,    &fields.image,
                                        &fields.thumbnail, &fields.marquee};
    constexpr qsizetype most = std::numeric_limits<quint16>::max();
    for (int i = 0; i < FieldCount; ++i) {
        texts_ += texts[i]->left(most - texts_.size());
        ends_[size_t(i)] = quint16(texts_.size());
    }
    texts_.squeeze();
}

QStringView GameMetadata::text(int field) const
{
    const qsizetype start = field == 0 ? 0 : ends_[size_t(field - 1)];
    return QStringView(texts_).sliced(start, ends_[size_t(field)] - start);
}

int GameMetadata::year() const
{
    bool ok = false;
    const int year = date().left(4).toInt(&ok);
    return ok && year > 0 && date().size() >= 4 ? year : 0;
}

QString ReadDescription(const QString &path, const GameMetadata &game)
{
    if (game.descriptionForm == GameMetadata::NoDescription)
        return {};
    const QByteArray raw = readPlace(path, game.descriptionOffset, game.descriptionLength);
    if (game.descriptionForm == GameMetadata::Pegasus)
        return PegasusDescription(raw);
    return xmlText(raw, game.descriptionForm);
}

} // namespace zanku

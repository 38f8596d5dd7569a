#include "core/common/CoreText.h"
#include "core/files/RegularFile.h"
#include "core/metadata/GameMetadata.h"

#include <QXmlStreamReader>

namespace zanku {
namespace {
// The reader counts characters; a description is found again by bytes. Offsets only grow
// while a file is read, so one forward walk over the UTF-8 serves the whole file.
class Utf8Offsets {
public:
    explicit Utf8Offsets(const QByteArray &bytes)
        : bytes_(bytes)
    {
        if (bytes.startsWith("\xef\xbb\xbf"))
            byte_ = 3;
    }

    qint64 byteAt(qint64 chars)
    {
        while (chars_ < chars && byte_ < bytes_.size()) {
            const int length = sequenceLength(uchar(bytes_[byte_]));
            chars_ += length == 4 ? 2 : 1; // four bytes make a surrogate pair
            byte_ += std::min<qint64>(length, bytes_.size() - byte_);
        }
        return byte_;
    }

private:
    static int sequenceLength(uchar lead)
    {
        return lead < 0xc0 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
    }

    const QByteArray &bytes_;
    qint64 byte_ = 0;
    qint64 chars_ = 0;
};

GameMetadata::DescriptionForm formOf(const QByteArray &bytes, QStringView encoding)
{
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff"))
        return GameMetadata::NoDescription; // UTF-16: characters are not bytes
    if (encoding.isEmpty() || encoding.compare(u"UTF-8", Qt::CaseInsensitive) == 0)
        return GameMetadata::XmlUtf8;
    for (const char *single : {"ISO-8859-1", "latin1", "US-ASCII"})
        if (encoding.compare(QLatin1String(single), Qt::CaseInsensitive) == 0)
            return GameMetadata::XmlLatin1;
    return GameMetadata::NoDescription;
}

QString *fieldOf(MetadataFields &game, QStringView tag)
{
    const std::pair<const char16_t *, QString MetadataFields::*> fields[] = {
        {u"path", &MetadataFields::path},           {u"name", &MetadataFields::name},
        {u"releasedate", &MetadataFields::date},    {u"developer", &MetadataFields::developer},
        {u"publisher", &MetadataFields::publisher}, {u"genre", &MetadataFields::genre},
        {u"players", &MetadataFields::players},     {u"rating", &MetadataFields::rating},
        {u"image", &MetadataFields::image},         {u"thumbnail", &MetadataFields::thumbnail},
        {u"marquee", &MetadataFields::marquee}};
    for (const auto &[name, field] : fields)
        if (tag == QStringView(name))
            return &(game.*field);
    return nullptr;
}

struct GamelistReader {
    const QByteArray &bytes;
    QXmlStreamReader xml{bytes};
    Utf8Offsets offsets{bytes};
    GameMetadata::DescriptionForm form = GameMetadata::XmlUtf8;

    qint64 byteAt(qint64 chars)
    {
        return form == GameMetadata::XmlUtf8 ? offsets.byteAt(chars) : chars;
    }

    // The description's place: from the end of its start tag to the start of its end tag.
    void readDescription(MetadataFields &game)
    {
        const qint64 start = byteAt(xml.characterOffset());
        xml.readElementText();
        if (xml.hasError() || form == GameMetadata::NoDescription)
            return;
        qint64 end = byteAt(xml.characterOffset());
        end = bytes.lastIndexOf('<', std::max<qint64>(end - 1, 0));
        game.descriptionForm = end > start ? form : GameMetadata::NoDescription;
        game.descriptionOffset = game.descriptionForm ? start : 0;
        game.descriptionLength = game.descriptionForm ? end - start : 0;
    }

    void readGame(std::vector<GameMetadata> &games)
    {
        MetadataFields game;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"desc")
                readDescription(game);
            else if (QString *field = fieldOf(game, xml.name()))
                *field = xml.readElementText().trimmed();
            else
                xml.skipCurrentElement();
        }
        if (!xml.hasError())
            games.emplace_back(game);
    }
};
} // namespace

MetadataRead ReadGamelist(const QString &path, qint64 maxBytes)
{
    MetadataRead result;
    const RegularFileRead file = ReadRegularFile(path, maxBytes);
    if (!file.ok()) {
        result.error = file.reason;
        return result;
    }
    GamelistReader reader{file.content};
    QXmlStreamReader &xml = reader.xml;
    while (!xml.atEnd() && !xml.hasError()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartDocument:
            reader.form = formOf(file.content, xml.documentEncoding());
            break;
        case QXmlStreamReader::DTD: // its entities could grow or reach outside: never read
            xml.raiseError(CoreText::tr("a document type declaration is not read"));
            break;
        case QXmlStreamReader::StartElement:
            if (xml.name() == u"game" || xml.name() == u"folder")
                reader.readGame(result.games);
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        result.error = xml.errorString();
        result.line = std::max<qint64>(xml.lineNumber(), 1);
    }
    return result;
}

} // namespace zanku

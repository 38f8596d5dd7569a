#include "ui/browser/GameDetailsPanel.h"

#include "core/catalogue/EmulatorPlaces.h"
#include "core/files/FileNames.h"
#include "core/library/Library.h"
#include "core/library/LibraryMetadata.h"
#include "core/preview/Cover.h"
#include "ui/browser/GameListView.h"
#include "ui/common/Layout.h"

#include <QDir>
#include <QTimer>

namespace {
QString escaped(QStringView text)
{
    return text.toString().trimmed().toHtmlEscaped();
}

// A gamelist's rating is a fraction ("0.8"), a Pegasus one a percentage already.
QString ratingText(QStringView rating)
{
    bool number = false;
    const double fraction = rating.trimmed().toDouble(&number);
    if (number && fraction >= 0 && fraction <= 1)
        return QStringLiteral("%1%").arg(qRound(fraction * 100));
    return rating.trimmed().toString();
}
} // namespace

GameDetailsPanel::GameDetailsPanel(zanku::Library &library, GameListView &list, QWidget *parent)
    : QTextBrowser(parent)
    , library_(library)
{
    setObjectName(QStringLiteral("Details"));
    setFont(ArialFont(9));
    setOpenLinks(false);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    connect(&list, &GameListView::currentGameChanged, this, &GameDetailsPanel::showGame);
    // The details arrive after the list: the game shown gets them at once.
    connect(&library_.metadata(), &zanku::LibraryMetadata::changed, this,
            [this] { showGame(game_, library_.slotOf(game_)); });
}

bool GameDetailsPanel::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Paint && !std::exchange(painted_, true))
        QTimer::singleShot(0, &library_.metadata(), &zanku::LibraryMetadata::start);
    return QTextBrowser::viewportEvent(event);
}

void GameDetailsPanel::showGame(const zanku::GameKey &game, int slot)
{
    game_ = game;
    if (game.isNull() || slot == 0) {
        clear();
        return;
    }
    const zanku::LibraryMetadata &metadata = library_.metadata();
    const zanku::GameMetadata *details = metadata.of(slot);
    const QString title = details && !details->name().trimmed().isEmpty()
                              ? escaped(details->name())
                              : game.name.toHtmlEscaped();
    QString html = QStringLiteral("<p style='font-size:large'><b>%1</b></p>").arg(title);
    html += factsOf(slot);
    const QString description = details ? metadata.description(slot).trimmed() : QString();
    if (!description.isEmpty())
        html += QStringLiteral("<p>%1</p>")
                    .arg(description.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")));
    html += pictureHint(game, slot);
    setHtml(html);
}

QString GameDetailsPanel::factsOf(int slot) const
{
    const zanku::GameMetadata *details = library_.metadata().of(slot);
    QStringList facts;
    const auto add = [&facts](const QString &label, const QString &value) {
        if (!value.isEmpty())
            facts << QStringLiteral("%1: %2").arg(label, value);
    };
    if (details == nullptr) {
        // Nothing other programs know: what the ROM list says.
        add(tr("Type"), library_.game(slot).Type.toHtmlEscaped());
        add(tr("File"), library_.game(slot).File.toHtmlEscaped());
        return QStringLiteral("<p>%1</p>").arg(facts.join(QStringLiteral("<br>")));
    }
    add(tr("Year"), details->year() != 0 ? QString::number(details->year()) : QString());
    add(tr("Developer"), escaped(details->developer()));
    add(tr("Publisher"), escaped(details->publisher()));
    add(tr("Genre"), escaped(details->genre()));
    add(tr("Players"), escaped(details->players()));
    add(tr("Rating"), ratingText(details->rating()).toHtmlEscaped());
    return facts.isEmpty() ? QString()
                           : QStringLiteral("<p>%1</p>").arg(facts.join(QStringLiteral("<br>")));
}

QString GameDetailsPanel::pictureHint(const zanku::GameKey &game, int slot) const
{
    const int e = library_.emulatorOf(game);
    if (e == 0 || !library_.snapshotOf(game).isEmpty())
        return {};
    const GameRecord &record = library_.game(slot);
    const CoverPlace place = zanku::EmulatorPlaces(library_.emulator(e), library_.programDir())
                                 .coverPlaceOf(record.File, record.Name);
    if (place.snapshotDir.isEmpty())
        return QStringLiteral("<p><i>%1</i></p>")
            .arg(tr("No picture: the emulator has no Snapshot Path to look in."));
    if (!FindCover(place).isEmpty())
        return {};
    const QString base = QFileInfo(StripExtension(record.File)).fileName();
    return QStringLiteral("<p><i>%1</i></p>")
        .arg(tr("No picture. Zanku looks for %1 (.jpg, .gif, .bmp, .png or .webp), and in "
                "Named_Boxarts, Named_Titles, Named_Snaps, covers, titlescreens and screenshots "
                "inside %2.")
                 .arg(QDir::toNativeSeparators(QDir(place.snapshotDir).filePath(base))
                          .toHtmlEscaped(),
                      QDir::toNativeSeparators(place.snapshotDir).toHtmlEscaped()));
}

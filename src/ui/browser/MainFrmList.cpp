// How the main window's list follows the library and the find field: the game chosen
// stays chosen through a reload, and a find narrows the list to what matches.

#include "core/catalogue/GameFindModel.h"
#include "core/catalogue/GameListModel.h"
#include "core/library/Library.h"
#include "ui/browser/FindBar.h"
#include "ui/browser/MainFrm.h"
#include "ui/browser/SnapshotFrame.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>

QStringList MainFrm::keyOf(int row) const
{
    const GameRecord &game = library_.game(shown_->slotAt(row));
    return {shown_->cell(row, 2), game.Name, game.File};
}

void MainFrm::catalogueChanged()
{
    // The game that was highlighted stays highlighted, current and pictured when it is
    // still listed; otherwise no row is current and nothing can be launched unseen.
    model_->FillGameList(library_); // the rows found are found again in it
    statusPanel2_->setText(shown_->countText());
    int found = -1;
    for (int row = 0; !highlightedKey_.isEmpty() && row < shown_->rowCount() && found < 0; ++row) {
        const GameRecord &game = library_.game(shown_->slotAt(row));
        if (shown_->cell(row, 2) == highlightedKey_[0] && game.Name == highlightedKey_[1] &&
            game.File == highlightedKey_[2])
            found = row;
    }
    // Setting the current index, even to none, also keeps the grid's focus from making
    // a first row current that is not highlighted.
    Lista->setCurrentIndex(found >= 0 ? shown_->index(found, 0) : QModelIndex());
    if (found >= 0) {
        Lista->scrollTo(shown_->index(found, 0));
        ShowSelectedGame();
    } else {
        Launch->setEnabled(false);
        Frame1->showTitle();
    }
}

void MainFrm::findChanged(const QString &text)
{
    shown_->setFindText(text);
    statusPanel2_->setText(shown_->countText());
    // The first match is the selection, as a click on it would make it.
    const bool any = shown_->rowCount() > 0;
    Lista->setCurrentIndex(any ? shown_->index(0, 0) : QModelIndex());
    if (any) {
        Lista->scrollToTop();
        selectionMoved();
        return;
    }
    library_.CleanupExtraction();
    Launch->setEnabled(false);
    Frame1->showTitle();
}

void MainFrm::selectionMoved()
{
    if (highlightedRow() < 0 || library_.EmulatorCount() == 0)
        return;
    Launch->setEnabled(true);
    ShowSelectedGame();
}

void MainFrm::findClosed()
{
    // Every row is back; the game highlighted stays so, in view.
    const int slot = shown_->slotAt(highlightedRow());
    shown_->setFindText(QString());
    statusPanel2_->setText(shown_->countText());
    for (int row = 0; slot != 0 && row < shown_->rowCount(); ++row) {
        if (shown_->slotAt(row) == slot) {
            Lista->setCurrentIndex(shown_->index(row, 0));
            Lista->scrollTo(shown_->index(row, 0), QAbstractItemView::PositionAtCenter);
            break;
        }
    }
    Lista->setFocus();
}

// The editor's Save: the grid written to its file when nothing changed the file since it
// was read, the emulators' ROM lists made or renamed with them, and the grid following
// the file when another program (the import) changed it.

#include "core/catalogue/RomList.h"
#include "core/library/Library.h"
#include "ui/common/Messages.h"
#include "ui/editor/OptionsFrm.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>

void OptionsFrm::Salva_Click()
{
    if (mode_ == EditorMode::Roms) {
        const QString problem =
            RomSaveProblem(Emulator->currentText(), loadedEmulator_, configuredEmulators());
        if (!problem.isEmpty()) {
            ShowMessage(QStringLiteral("Error"), problem);
            return;
        }
    }
    if (unreadable_) {
        ShowMessage(QStringLiteral("Error"),
                    QStringLiteral("%1 could not be read, so the editor does not show what it "
                                   "holds. Saving would replace it; nothing was saved.")
                        .arg(Quoted(QDir::toNativeSeparators(shownFile()))));
        return;
    }
    saving_ = true;
    zanku::SaveResult result;
    if (mode_ == EditorMode::Roms) {
        std::vector<GameRecord> games;
        for (const GridRow &row : allRows())
            games.push_back(RowToGame(row));
        result = library_.WriteRomList(loadedEmulator_, games, readAs_);
    } else {
        std::vector<EmulatorRecord> emulators;
        for (const GridRow &row : allRows())
            emulators.push_back(RowToEmulator(row));
        if (!confirmRenames()) {
            saving_ = false;
            return;
        }
        result = library_.WriteConfig(emulators, readAs_);
        if (result.status == zanku::SaveResult::Saved)
            afterEmulatorsSaved(emulators);
    }
    saving_ = false;
    switch (result.status) {
    case zanku::SaveResult::Saved:
        Saved = true;
        changed_ = false;
        readAs_ = result.version;
        break;
    case zanku::SaveResult::Failed: // the file on disk is whole; the grid keeps the edits
        ShowMessage(QStringLiteral("Error"), result.error);
        break;
    case zanku::SaveResult::ChangedSinceRead: {
        const QString text =
            QStringLiteral("%1 was changed by another program since it was opened.\n\nReload "
                           "it? The edits made here would be lost; No keeps them, unsaved.")
                .arg(Quoted(QFileInfo(shownFile()).fileName()));
        if (ShowMessage(WindowCaption, text, MessageButtons::YesNo) == MessageAnswer::Yes)
            reloadShown();
        break;
    }
    }
}

std::vector<std::pair<QString, QString>> OptionsFrm::renamedEmulators() const
{
    // A row that was loaded under one name and now holds another was renamed, unless
    // another row took the old name meanwhile.
    QStringList names;
    for (int row = 0; row < Grid->rowCount(); ++row)
        names.append(rowCells(row).value(0));
    std::vector<std::pair<QString, QString>> renamed;
    for (int row = 0; row < Grid->rowCount(); ++row) {
        const QString loaded = loadedName(row);
        if (!loaded.isEmpty() && loaded != names.at(row) && !names.contains(loaded))
            renamed.emplace_back(loaded, names.at(row));
    }
    return renamed;
}

bool OptionsFrm::confirmRenames()
{
    const QDir dir(library_.programDir());
    for (const auto &[from, to] : renamedEmulators()) {
        const QString list = RomListFileName(to);
        if (!QFileInfo::exists(dir.filePath(RomListFileName(from))) ||
            !QFileInfo::exists(dir.filePath(list)))
            continue;
        const QString text =
            QStringLiteral("%1 is renamed %2, but a ROM list %3 is there already.\n\nSave "
                           "anyway? %2 then lists the games of %3, and %4 stays as it is.")
                .arg(Quoted(from), Quoted(to), Quoted(list), Quoted(RomListFileName(from)));
        if (ShowMessage(WindowCaption, text, MessageButtons::YesNo) != MessageAnswer::Yes)
            return false;
    }
    return true;
}

void OptionsFrm::afterEmulatorsSaved(const std::vector<EmulatorRecord> &emulators)
{
    QStringList problems;
    for (const auto &[from, to] : renamedEmulators())
        problems += library_.renameEmulator(from, to);
    problems += library_.makeMissingRomLists(emulators);
    for (int row = 0; row < Grid->rowCount(); ++row)
        setLoadedName(row, rowCells(row).value(0));
    if (!problems.isEmpty())
        ShowMessage(QStringLiteral("Error"), problems.join(u'\n'));
}

void OptionsFrm::reloadShown()
{
    if (mode_ == EditorMode::Roms)
        LoadRomList(loadedEmulator_);
    else
        Form_Load();
}

void OptionsFrm::romListChanged(const QString &emulatorName)
{
    if (saving_ || mode_ != EditorMode::Roms || emulatorName != loadedEmulator_)
        return;
    if (!hasUnsavedChanges()) {
        LoadRomList(loadedEmulator_);
        return;
    }
    ShowMessage(WindowCaption,
                QStringLiteral("%1 was changed by the import since it was opened. Your edits are "
                               "kept; a Save will offer to reload it first.")
                    .arg(Quoted(QFileInfo(shownFile()).fileName())));
}

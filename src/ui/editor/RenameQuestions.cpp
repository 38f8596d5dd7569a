#include "ui/editor/RenameQuestions.h"

#include "ui/common/Messages.h"

std::optional<QHash<QString, zanku::SavesCollision>>
AskAboutRenames(const QString &programDir, const std::vector<Rename> &renames,
                const QString &caption)
{
    QHash<QString, zanku::SavesCollision> saves;
    for (const Rename &rename : renames) {
        if (RomListInTheWay(programDir, rename) &&
            ShowMessage(caption, RenameQuestion(rename), MessageButtons::YesNo) !=
                MessageAnswer::Yes)
            return std::nullopt;
        if (!zanku::SavesCollide(programDir, rename.first, rename.second))
            continue;
        const MessageAnswer answer =
            ShowMessage(caption, SavesQuestion(rename), MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Cancel)
            return std::nullopt;
        saves.insert(rename.first, answer == MessageAnswer::Yes ? zanku::SavesCollision::Merge
                                                                : zanku::SavesCollision::SetAside);
    }
    return saves;
}

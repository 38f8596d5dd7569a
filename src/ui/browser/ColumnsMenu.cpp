#include "ui/browser/ColumnsMenu.h"

#include "core/browse/GameListModel.h"
#include "ui/browser/GameListView.h"
#include "ui/browser/WindowMemory.h"

ColumnsMenu::ColumnsMenu(GameListView &list, QWidget *parent)
    : QMenu(tr("C&olumns"), parent)
{
    setObjectName(QStringLiteral("ColumnsM"));
    const QStringList hidden = WindowMemory::hiddenColumns();
    const std::pair<int, QString> columns[] = {{GameListModel::YearColumn, tr("&Year")},
                                               {GameListModel::GenreColumn, tr("&Genre")}};
    for (const auto &[column, title] : columns) {
        // Remembered by the column's own name, whatever the language shown.
        const QString key =
            column == GameListModel::YearColumn ? QStringLiteral("Year") : QStringLiteral("Genre");
        QAction *action = addAction(title);
        action->setObjectName(key + QStringLiteral("ColumnM"));
        action->setCheckable(true);
        action->setChecked(!hidden.contains(key));
        list.setColumnWanted(column, action->isChecked());
        connect(action, &QAction::toggled, this, [&list, column, key](bool shown) {
            list.setColumnWanted(column, shown);
            QStringList now = WindowMemory::hiddenColumns();
            now.removeAll(key);
            if (!shown)
                now.append(key);
            WindowMemory::setHiddenColumns(now);
        });
    }
}

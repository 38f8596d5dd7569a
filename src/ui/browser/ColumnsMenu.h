#pragma once

#include <QMenu>

class GameListView;

// View > "Columns": whether the list shows the "Year" and "Genre" of the games' details
// (each only while some game has one). Remembered for each user with the window.
class ColumnsMenu : public QMenu {
    Q_OBJECT
public:
    ColumnsMenu(GameListView &list, QWidget *parent);
};

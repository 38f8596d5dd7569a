#pragma once

#include <QRect>
#include <QSize>

// Where the main window's controls go in its client area, in pixels. The design size is
// the first size and the smallest; the room a larger window adds goes to the game list (or
// the covers, which take more of it) and to the snapshot frame beside it, and the buttons
// follow the list's lower edge.
struct MainFrmPlaces {
    QRect list;
    QRect launch;
    QRect expand;
    QRect exit;
    QRect snapshot; // empty while the list is widened
};

// The client area's design size in pixels.
QSize MainFrmDesignSize();

// The places at this client size; `expanded` widens the list over the snapshot's place,
// `covers` gives the cover view two thirds of the added width instead of half.
MainFrmPlaces PlaceMainFrm(const QSize &client, bool expanded, bool covers);

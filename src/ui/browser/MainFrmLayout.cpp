#include "ui/browser/MainFrmLayout.h"

#include "ui/common/Layout.h"
#include "ui/common/Twips.h"

#include <algorithm>

namespace {
constexpr int ClientWidth = 10530;
constexpr int ClientHeight = 5640;
constexpr int NarrowListWidth = 4095;
constexpr int WideListWidth = 10335;
constexpr int ListHeight = 4575;
} // namespace

QSize MainFrmDesignSize()
{
    return {Twips(ClientWidth), Twips(ClientHeight)};
}

MainFrmPlaces PlaceMainFrm(const QSize &client, bool expanded, bool covers)
{
    const QSize design = MainFrmDesignSize();
    const int wider = std::max(0, client.width() - design.width());
    const int taller = std::max(0, client.height() - design.height());
    const int listShare = covers ? wider * 2 / 3 : wider / 2;

    MainFrmPlaces places;
    const QRect narrow =
        TwipsRect(120, 120, NarrowListWidth, ListHeight).adjusted(0, 0, listShare, taller);
    places.list = narrow;
    if (expanded)
        places.list.setWidth(Twips(WideListWidth) + wider);

    // The buttons keep their places under the narrow list's edges.
    const QPoint down(0, taller);
    places.launch = TwipsRect(120, 4800, 2655, 795).translated(down);
    places.expand = TwipsRect(3120, 4800, 975, 255).translated(down + QPoint(listShare, 0));
    places.exit = TwipsRect(3000, 5160, 1215, 375).translated(down + QPoint(listShare, 0));
    if (!expanded)
        places.snapshot = TwipsRect(4320, 0, 6135, 5475).adjusted(listShare, 0, wider, taller);
    return places;
}

#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Where the snapshot box goes in its frame, all in twips. The picture is never scaled:
// a box narrower or lower than the picture shows its top-left part.
//  - no picture (width 0): the box takes its design size;
//  - a picture wider than the frame less 335 is cut to that width; only when it is not,
//    a picture taller than the frame less 475 is cut to that height;
//  - the box is centred, 50 twips below the middle; a position that would not be
//    positive keeps the box's previous one.
QRectF FitSnapshot(const QSizeF &picture, const QSizeF &designSize, const QSizeF &frame,
                   const QPointF &previousPosition);

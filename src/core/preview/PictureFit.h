#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Where the snapshot box goes in its frame, all in twips, and how large the picture shows.
//  - no picture (width 0): the box takes its design size;
//  - a picture wider than the frame less 335, or taller than the frame less 475, is
//    scaled down to fit both, keeping its proportions (cutting it would show a corner of
//    today's full-screen shots); a picture that fits keeps its size, never scaled up;
//  - the box is centred, 50 twips below the middle; a position that would not be
//    positive keeps the box's previous one.
QRectF FitSnapshot(const QSizeF &picture, const QSizeF &designSize, const QSizeF &frame,
                   const QPointF &previousPosition);

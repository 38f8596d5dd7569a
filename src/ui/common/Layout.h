#pragma once

#include <QFont>
#include <QRect>

class QWidget;

// The windows are laid out in twips (see Twips.h) in the fonts players know.

// A rectangle given in twips, in pixels.
QRect TwipsRect(int left, int top, int width, int height);

// Puts a widget where the layout says, in twips.
void PlaceTwips(QWidget *widget, int left, int top, int width, int height);

// Places a window that is about to open centred over the window of its parent: on the
// parent's frame, with the frame the window manager will add, kept on the parent's screen.
// A window already open, or one without a parent, stays where it is.
void CentreOverParent(QWidget *window);
// Opens a window centred so (CentreOverParent), or brings it to the front when it is open.
void BringForward(QWidget *window);

// Arial at this size; a machine without Arial falls back to its own sans serif.
QFont ArialFont(qreal points, bool bold = false, bool italic = false);

// The title's playful face, bold: Comic Sans MS, or a casual hand where it is missing.
QFont TitleFont(qreal points);

#pragma once

#include <QIcon>
#include <QImage>

// The program's own icon, shared by the main window and the About box.
QIcon AppIcon();

// The same drawing at one size in pixels, square; the installed icons are made from it.
QImage AppIconImage(int size);

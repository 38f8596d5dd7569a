#pragma once

#include <QIcon>

// The program's own icon, shared by the main window and the About box.
QIcon AppIcon();

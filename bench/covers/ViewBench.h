#pragma once

#include "CoverLibrary.h"
#include "Report.h"

#include <vector>

// The cover view's own figures on the library: its first screen (cold and warm thumbnail
// cache), scrolling page by page through 2,000 tiles, and its memory above the list view's.
// Needs a QApplication.
void addViewMeasurements(std::vector<TableLine> &lines, const CoverLibrary &library, int runs);

#pragma once

#include <functional>

class QWidget;

// Runs `then` once `window` has painted for the first time, after that paint, so work the
// player does not see yet (the controllers' library, for one) never delays the window.
void AfterFirstPaint(QWidget &window, std::function<void()> then);

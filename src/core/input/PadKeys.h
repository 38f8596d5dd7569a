#pragma once

#include "core/common/ProgramFiles.h"

#include <QtGlobal>

namespace zanku {

// The controller mappings a player may add, in SDL's text form, in the program directory.
inline constexpr auto MappingsFileName = own::Mappings;

// What a game controller can ask of the windows. Up, Down, Left and Right are the D-pad's
// or the left stick's; the other names are the buttons' places on the controller, not
// their letters.
enum class PadInput {
    Up,
    Down,
    Left,
    Right,
    LeftShoulder,
    RightShoulder,
    South,
    East,
    Start,
    Back,
    North,
    Count
};
constexpr int PadInputCount = int(PadInput::Count);

// What one input does: a key for the focused widget, or the ">>" button.
struct PadAction {
    int key = 0;          // a Qt::Key, 0 for none
    bool expand = false;  // clicks the main window's ">>"
    bool repeats = false; // held, it repeats like a held key
};

// The D-pad and the stick move as the arrow keys (Left and Right through the covers), the shoulders
// page, A (south) presses Enter, B (east) Esc, Back the ">>" button, Y (north) and Start the
// menu key: the chosen game's menu, or the couch view's.
PadAction PadActionOf(PadInput input);

// A stick axis (-32768 to 32767, negative up or left) as a direction once it is beyond
// half its travel: -1 up or left, 1 down or right, else 0.
int StickDirection(int axis);

// A held input's repeats, counted against a clock given in milliseconds: the first after
// 400 ms, then one every 80 ms.
class HeldRepeat {
public:
    static constexpr qint64 FirstDelay = 400;
    static constexpr qint64 Interval = 80;

    void press(qint64 now)
    {
        held_ = true;
        next_ = now + FirstDelay;
    }
    void release() { held_ = false; }
    bool held() const { return held_; }
    // How many repeats fell due by `now` since the last call.
    int due(qint64 now);

private:
    bool held_ = false;
    qint64 next_ = 0;
};

} // namespace zanku

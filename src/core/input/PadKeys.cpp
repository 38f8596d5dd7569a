#include "core/input/PadKeys.h"

#include <Qt>

namespace zanku {

PadAction PadActionOf(PadInput input)
{
    switch (input) {
    case PadInput::Up:
        return {Qt::Key_Up, false, true};
    case PadInput::Down:
        return {Qt::Key_Down, false, true};
    case PadInput::Left:
        return {Qt::Key_Left, false, true};
    case PadInput::Right:
        return {Qt::Key_Right, false, true};
    case PadInput::LeftShoulder:
        return {Qt::Key_PageUp, false, true};
    case PadInput::RightShoulder:
        return {Qt::Key_PageDown, false, true};
    case PadInput::South:
        return {Qt::Key_Return};
    case PadInput::East:
        return {Qt::Key_Escape};
    case PadInput::Back:
        return {0, true};
    case PadInput::North:
    case PadInput::Start:
        return {Qt::Key_Menu};
    case PadInput::Count:
        break;
    }
    return {};
}

int StickDirection(int axis)
{
    // Half of 32767 down, half of 32768 up.
    if (2 * axis > 32767)
        return 1;
    if (2 * axis < -32768)
        return -1;
    return 0;
}

int HeldRepeat::due(qint64 now)
{
    if (!held_ || now < next_)
        return 0;
    const qint64 count = 1 + (now - next_) / Interval;
    next_ += count * Interval;
    return int(count);
}

} // namespace zanku

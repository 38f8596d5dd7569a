#include "ui/input/GamepadInput.h"

#include "core/files/RegularFile.h"

#include <QApplication>
#include <QInputDevice>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include "ui/input/SdlLibrary.h"

#include <algorithm>

using zanku::PadInput;

namespace {
// Several times the largest collections of mappings shared for SDL.
constexpr qint64 MaxMappingsSize = 4 * 1024 * 1024;

// The file is read here rather than by SDL, which would wait forever on a pipe put in
// its place; anything but a regular file is passed over.
void addMappings(const SdlLibrary &sdl, const QString &mappingsFile)
{
    const RegularFileRead read = ReadRegularFile(mappingsFile, MaxMappingsSize);
    if (!read.ok() || read.content.isEmpty())
        return;
    SDL_RWops *stream = sdl.RWFromConstMem(read.content.constData(), int(read.content.size()));
    if (stream)
        sdl.GameControllerAddMappingsFromRW(stream, 1);
}

SDL_GameController *controllerOf(void *handle)
{
    return static_cast<SDL_GameController *>(handle);
}
} // namespace

GamepadInput::GamepadInput(const QString &mappingsFile, QObject *parent)
    : QObject(parent)
    , sdl_(SdlLibrary::load())
{
    elapsed_.start();
    clock_ = [this] { return elapsed_.elapsed(); };
    if (sdl_ == nullptr)
        return;
    // The program's windows are not SDL's: read the controllers whichever has the focus,
    // and leave the signals to Qt.
    sdl_->SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // SDL reads SDL_GAMECONTROLLERCONFIG itself, after its own mappings.
    if (sdl_->InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        return;
    available_ = true;
    addMappings(*sdl_, mappingsFile);
    for (int i = 0; i < sdl_->NumJoysticks(); ++i)
        open(i);
    sdl_->FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT); // those opened already
    timer_ = new QTimer(this);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &GamepadInput::poll);
    timer_->start(16);
}

const QInputDevice *GamepadInput::device()
{
    static const QInputDevice controllers(QStringLiteral("Game controllers"), -1,
                                          QInputDevice::DeviceType::Keyboard);
    return &controllers;
}

GamepadInput::~GamepadInput()
{
    if (!available_)
        return;
    closeAll();
    sdl_->QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void GamepadInput::open(int deviceIndex)
{
    if (suspended_ || !sdl_->IsGameController(deviceIndex))
        return;
    const SDL_JoystickID id = sdl_->JoystickGetDeviceInstanceID(deviceIndex);
    if (std::any_of(controllers_.cbegin(), controllers_.cend(), [this, id](void *c) {
            return sdl_->JoystickInstanceID(sdl_->GameControllerGetJoystick(controllerOf(c))) == id;
        }))
        return;
    if (SDL_GameController *controller = sdl_->GameControllerOpen(deviceIndex))
        controllers_.push_back(controller);
}

void GamepadInput::closeAll()
{
    for (void *controller : controllers_)
        sdl_->GameControllerClose(controllerOf(controller));
    controllers_.clear();
}

void GamepadInput::setSuspended(bool suspended)
{
    if (!available_ || suspended == suspended_)
        return;
    suspended_ = suspended;
    held_ = {};
    for (zanku::HeldRepeat &repeat : repeats_)
        repeat.release();
    if (suspended) {
        closeAll();
        return;
    }
    resumed_ = true;
    for (int i = 0; i < sdl_->NumJoysticks(); ++i)
        open(i);
}

void GamepadInput::poll()
{
    SDL_Event event;
    while (sdl_->PollEvent(&event) != 0) {
        if (event.type == SDL_CONTROLLERDEVICEADDED) {
            open(event.cdevice.which);
        } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
            const auto gone = std::find_if(controllers_.begin(), controllers_.end(), [&](void *c) {
                return sdl_->JoystickInstanceID(sdl_->GameControllerGetJoystick(controllerOf(c))) ==
                       event.cdevice.which;
            });
            if (gone != controllers_.end()) {
                sdl_->GameControllerClose(controllerOf(*gone));
                controllers_.erase(gone);
            }
        }
    }
    if (!suspended_)
        apply(read());
}

GamepadInput::Held GamepadInput::read() const
{
    Held held{};
    const auto set = [&held](PadInput input, bool down) { held[size_t(input)] |= down; };
    for (void *handle : controllers_) {
        SDL_GameController *c = controllerOf(handle);
        const auto button = [this, c](SDL_GameControllerButton b) {
            return sdl_->GameControllerGetButton(c, b) != 0;
        };
        const int stick =
            zanku::StickDirection(sdl_->GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
        const int across =
            zanku::StickDirection(sdl_->GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
        set(PadInput::Up, button(SDL_CONTROLLER_BUTTON_DPAD_UP) || stick < 0);
        set(PadInput::Down, button(SDL_CONTROLLER_BUTTON_DPAD_DOWN) || stick > 0);
        set(PadInput::Left, button(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || across < 0);
        set(PadInput::Right, button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || across > 0);
        set(PadInput::LeftShoulder, button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER));
        set(PadInput::RightShoulder, button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER));
        set(PadInput::South, button(SDL_CONTROLLER_BUTTON_A));
        set(PadInput::East, button(SDL_CONTROLLER_BUTTON_B));
        set(PadInput::Start, button(SDL_CONTROLLER_BUTTON_START));
        set(PadInput::Back, button(SDL_CONTROLLER_BUTTON_BACK));
        set(PadInput::North, button(SDL_CONTROLLER_BUTTON_Y));
    }
    return held;
}

void GamepadInput::apply(const Held &held)
{
    if (resumed_) { // what is held now was pressed for the emulator
        waiting_ = held;
        resumed_ = false;
    }
    const qint64 now = clock_();
    for (int i = 0; i < zanku::PadInputCount; ++i) {
        const auto input = PadInput(i);
        bool down = held[size_t(i)];
        if (waiting_[size_t(i)]) { // until it is released
            waiting_[size_t(i)] = down;
            down = false;
        }
        const bool was = held_[size_t(i)];
        held_[size_t(i)] = down;
        if (down && !was) {
            act(input, 1);
            if (zanku::PadActionOf(input).repeats)
                repeats_[size_t(i)].press(now);
        } else if (!down && was) {
            repeats_[size_t(i)].release();
        } else if (down) {
            act(input, repeats_[size_t(i)].due(now));
        }
    }
}

void GamepadInput::act(PadInput input, int times)
{
    // An open menu takes the keys first: the controller works the game's menu too.
    QWidget *popup = QApplication::activePopupWidget();
    QWidget *window = popup != nullptr ? popup : QApplication::activeWindow();
    if (times == 0 || window == nullptr)
        return;
    const zanku::PadAction action = zanku::PadActionOf(input);
    if (action.expand) {
        emit backPressed();
        return;
    }
    for (int i = 0; i < times; ++i) {
        // Each press goes to whatever has the focus by then.
        QWidget *focus = QApplication::focusWidget();
        QWidget *target = popup == nullptr && focus != nullptr ? focus : window;
        QKeyEvent press(QEvent::KeyPress, action.key, Qt::NoModifier, 0, 0, 0, {}, false, 1,
                        device());
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, action.key, Qt::NoModifier, 0, 0, 0, {}, false, 1,
                          device());
        QCoreApplication::sendEvent(target, &release);
    }
}

#pragma once

#include "core/input/PadKeys.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QInputDevice;
class QTimer;
struct SdlLibrary;

// Game controllers working the windows as the keyboard does: every controller connected,
// read about 60 times a second, its buttons turned into key presses for the focused widget
// of the active window (see PadActionOf). Nothing is sent while no window of the program
// is active. Controllers may come and go at any time.
//
// While an emulator the program started runs, the controllers are closed so that it has
// them alone (setSuspended); once they are opened again a button still held does nothing
// until it has been released.
class GamepadInput : public QObject {
    Q_OBJECT
public:
    using Held = std::array<bool, zanku::PadInputCount>;

    // Opens the controllers with SDL's mappings, those of SDL_GAMECONTROLLERCONFIG, then
    // those of `mappingsFile` when it is a regular file (a pipe there is never waited on).
    explicit GamepadInput(const QString &mappingsFile, QObject *parent = nullptr);
    ~GamepadInput() override;

    bool available() const { return available_; } // false: SDL could not be loaded or start
    // The device the controllers' key presses come from, to tell them from the keyboard's.
    static const QInputDevice *device();
    int controllerCount() const { return int(controllers_.size()); }
    // The time in milliseconds the repeats count with.
    void setClock(std::function<qint64()> clock) { clock_ = std::move(clock); }

    void setSuspended(bool suspended);
    // One reading of the controllers, as the timer does.
    void poll();
    // The inputs held now, from every controller together: acts on what changed.
    void apply(const Held &held);

signals:
    // Back was pressed: the main window clicks its ">>".
    void backPressed();

private:
    void open(int deviceIndex);
    void closeAll();
    Held read() const;
    void act(zanku::PadInput input, int times);

    const SdlLibrary *sdl_;
    bool available_ = false;
    bool suspended_ = false;
    bool resumed_ = false; // opened again: what is held now waits for its release
    std::vector<void *> controllers_;
    Held held_{};
    Held waiting_{}; // held when the controllers were opened again
    std::array<zanku::HeldRepeat, zanku::PadInputCount> repeats_;
    QElapsedTimer elapsed_;
    std::function<qint64()> clock_;
    QTimer *timer_ = nullptr;
};

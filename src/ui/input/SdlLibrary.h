#pragma once

#include <SDL.h>

// SDL's functions the controllers need, taken from the library once controllers are
// wanted instead of linked: SDL and the sound and display libraries it brings would
// otherwise be loaded by every start, megabytes and their loading time before the window
// shows, whether or not a controller is ever used.
#define ZANKU_SDL_FUNCTIONS(X)                                                                     \
    X(SetHint)                                                                                     \
    X(InitSubSystem)                                                                               \
    X(QuitSubSystem)                                                                               \
    X(NumJoysticks)                                                                                \
    X(FlushEvents)                                                                                 \
    X(PollEvent)                                                                                   \
    X(RWFromConstMem)                                                                              \
    X(GameControllerAddMappingsFromRW)                                                             \
    X(IsGameController)                                                                            \
    X(JoystickGetDeviceInstanceID)                                                                 \
    X(JoystickInstanceID)                                                                          \
    X(GameControllerOpen)                                                                          \
    X(GameControllerClose)                                                                         \
    X(GameControllerGetJoystick)                                                                   \
    X(GameControllerGetButton)                                                                     \
    X(GameControllerGetAxis)

struct SdlLibrary {
#define ZANKU_SDL_POINTER(name) decltype(&SDL_##name) name = nullptr;
    ZANKU_SDL_FUNCTIONS(ZANKU_SDL_POINTER)
#undef ZANKU_SDL_POINTER

    // SDL, loaded the first time it is asked for and kept for the program's life; nullptr
    // when it cannot be loaded (not installed, or without one of these functions).
    static const SdlLibrary *load();
};

#include "ui/input/SdlLibrary.h"

#include <dlfcn.h>

#include <optional>

const SdlLibrary *SdlLibrary::load()
{
    static const std::optional<SdlLibrary> loaded = []() -> std::optional<SdlLibrary> {
        // Found as a linked library would be: beside the program in its bundle, else the
        // system's.
        void *handle = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr)
            return std::nullopt;
        SdlLibrary sdl;
        bool complete = true;
#define ZANKU_SDL_RESOLVE(name)                                                                    \
    sdl.name = reinterpret_cast<decltype(sdl.name)>(dlsym(handle, "SDL_" #name));                  \
    complete = complete && sdl.name != nullptr;
        ZANKU_SDL_FUNCTIONS(ZANKU_SDL_RESOLVE)
#undef ZANKU_SDL_RESOLVE
        if (!complete) {
            dlclose(handle);
            return std::nullopt;
        }
        return sdl;
    }();
    return loaded ? &*loaded : nullptr;
}

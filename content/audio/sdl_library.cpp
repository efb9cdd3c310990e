#include "content/audio/sdl_library.hpp"

#include <dlfcn.h>

#include <cstdio>

namespace tb::media {

const SdlApi* load_sdl(const char* library) {
    void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "tapbook: no sound library (%s)\n", dlerror());
        return nullptr;
    }
    auto* api = new SdlApi;  // lives as long as the library, which stays loaded
    bool complete = true;
#define TB_SDL_LOOK_UP(name)                                                       \
    api->name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));       \
    if (!api->name) {                                                              \
        std::fprintf(stderr, "tapbook: no %s in %s\n", #name, library);            \
        complete = false;                                                          \
    }
    TB_SDL_FUNCTIONS(TB_SDL_LOOK_UP)
#undef TB_SDL_LOOK_UP
    if (complete) return api;
    delete api;
    dlclose(handle);
    return nullptr;
}

const SdlApi* sdl() {
    static const SdlApi* const api = load_sdl(kSdlLibrary);
    return api;
}

}  // namespace tb::media

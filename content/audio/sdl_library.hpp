#pragma once
// SDL2, loaded when sound or the microphone is first opened rather than with the program: linked
// in, it and the thirty-odd libraries it pulls were loaded and relocated before the first window.
#include <SDL.h>

namespace tb::media {

inline constexpr const char* kSdlLibrary = "libSDL2-2.0.so.0";

#define TB_SDL_FUNCTIONS(X)                                                                            \
    X(SDL_SetHint) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_GetError) X(SDL_OpenAudioDevice) \
    X(SDL_CloseAudioDevice) X(SDL_PauseAudioDevice) X(SDL_GetAudioDeviceStatus) X(SDL_GetNumAudioDevices)

// The SDL entry points the sound device and the microphone use, named as in SDL itself.
struct SdlApi {
#define TB_SDL_POINTER(name) decltype(&::name) name;
    TB_SDL_FUNCTIONS(TB_SDL_POINTER)
#undef TB_SDL_POINTER
};

// Loads `library` and looks up every entry point: null (and a line on standard error) when the
// library or one of them is missing.
const SdlApi* load_sdl(const char* library);

// The process's SDL, loaded once at the first call; null when it is not installed, and the
// program goes on without sound or microphone.
const SdlApi* sdl();

}  // namespace tb::media

#pragma once
// The welcome window: the program's start window and the way into the main window.
#include <cstdint>

namespace tb::app {

inline constexpr std::uint32_t kMainWindow = 0x52010061;

// Hides the welcome window's loading animation (the main window's creation ends with it).
void hide_loading_animation();

}  // namespace tb::app

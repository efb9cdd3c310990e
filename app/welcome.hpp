#pragma once
// The welcome window: the program's start window and the way into the main window.
namespace tb::app {

// Hides the welcome window's loading animation (the main window's creation ends with it).
void hide_loading_animation();

}  // namespace tb::app

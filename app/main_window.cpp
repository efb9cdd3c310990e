// Main window handlers.
#include "app/handlers.hpp"
#include "app/welcome.hpp"

int main_created(const tb::ui::EventArgs&) {
    // The loading animation runs only while the main window is being built.
    tb::app::hide_loading_animation();
    return 0;
}

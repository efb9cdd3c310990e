#pragma once
// The program's handler routines, declared from the one handler list, and the table the widget
// set calls them through (position in the list = the offset templates store).
#include <span>

#include "ui/widgets/widgets.hpp"

#define TB_HANDLER(name) int name(const tb::ui::EventArgs&);
#include "ui/store/handlers.def"
#undef TB_HANDLER

namespace tb::app {
std::span<const ui::Handler> handler_table();
// The routines' names, in the same order (for the diagnostic log).
std::span<const char* const> handler_names();
// Binds the table and its names in the widget set.
void install_handlers();
}

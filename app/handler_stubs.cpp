// Handlers the templates already bind but that are not built yet: each does nothing, so every
// bound event is harmless until its real routine replaces the stub here.
#include "ui/widgets/widgets.hpp"

using tb::ui::EventArgs;

int practice_clicked(const EventArgs&) { return 0; }
int find_clicked(const EventArgs&) { return 0; }
int practice_overlay_pressed(const EventArgs&) { return 0; }

#include "app/handlers.hpp"

namespace tb::app {

namespace {
const ui::Handler kHandlers[] = {
#define TB_HANDLER(name) &::name,
#include "ui/store/handlers.def"
#undef TB_HANDLER
};
const char* const kNames[] = {
#define TB_HANDLER(name) #name,
#include "ui/store/handlers.def"
#undef TB_HANDLER
};
}  // namespace

std::span<const ui::Handler> handler_table() { return kHandlers; }
std::span<const char* const> handler_names() { return kNames; }
void install_handlers() { ui::set_handler_table(kHandlers, kNames); }

}  // namespace tb::app

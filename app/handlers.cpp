#include "app/handlers.hpp"

namespace tb::app {

namespace {
const ui::Handler kHandlers[] = {
#define TB_HANDLER(name) &::name,
#include "app/handlers.def"
#undef TB_HANDLER
};
}  // namespace

std::span<const ui::Handler> handler_table() { return kHandlers; }

}  // namespace tb::app

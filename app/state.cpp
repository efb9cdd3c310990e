#include "app/state.hpp"

namespace tb::app {

namespace {
ProgramState g_state;
}

ProgramState& state() { return g_state; }

void reset_state() { g_state = ProgramState{}; }

void free_state() {
    // Assigning a fresh state frees every element, then the lists themselves stay empty.
    ProgramState empty;
    std::swap(g_state, empty);
}

}  // namespace tb::app

#include "runtime/random.hpp"

#include <random>

#include "runtime/platform.hpp"

namespace tb {
namespace {

struct Generator {
    std::mt19937 engine{12345u};
    std::uint32_t counter = 0;
};

Generator& gen() {
    static Generator g;
    return g;
}

}  // namespace

void seed_random() {
    Generator& g = gen();
    // The step (100..355) comes from the generator's own state, so a fake clock that stands
    // still still yields a new seed each time.
    g.counter += 100 + (g.engine() & 0xFF);
    g.engine.seed(static_cast<std::uint32_t>(tick_ms()) + g.counter);
}

int random_int(int low, int high) {
    if (high <= low) return low;
    std::uniform_int_distribution<int> d(low, high);
    return d(gen().engine);
}

int reseeded_random_int(int low, int high) {
    seed_random();
    return random_int(low, high);
}

RandomSource reseeding_each_draw(RandomSource given) {
    return given ? std::move(given) : RandomSource(&reseeded_random_int);
}

RoutineRandom::RoutineRandom(RandomSource given) {
    if (given) {
        draw_ = std::move(given);
    } else {
        draw_ = &random_int;
        reseed_ = &seed_random;
    }
}

}  // namespace tb

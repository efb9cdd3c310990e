#pragma once
// Random numbers as the program's logic draws them: reseed from the clock right before drawing,
// then draw uniform integers from a closed range.
#include <cstdint>
#include <functional>

namespace tb {

// Reseeds from the millisecond tick plus a running counter that grows by 100 to 355 at each
// seeding, so two seedings within one tick still differ.
void seed_random();

// A uniform integer in [low, high]; low when high < low.
int random_int(int low, int high);

// Reseeds, then draws: for the routines that reseed right before each draw.
int reseeded_random_int(int low, int high);

// A uniform integer in [low, high], as every rules type takes it so that tests can script the
// draws (tests/support/scripted_random.hpp); the program's own are the two functions above.
using RandomSource = std::function<int(int low, int high)>;

// The given source, or the program's own for games that reseed right before each draw.
RandomSource reseeding_each_draw(RandomSource given);

// The draws of a game whose routines (a question asked, an answer judged) reseed once as they
// begin and then draw plainly. Made from a source (a script in the tests) it only draws; made
// without one it is the program's: seed_random as a routine begins, random_int for each draw.
class RoutineRandom {
public:
    explicit RoutineRandom(RandomSource given = {});
    // Called as each routine begins, before its first draw.
    void begin() const {
        if (reseed_) reseed_();
    }
    const RandomSource& source() const { return draw_; }

private:
    RandomSource draw_;
    void (*reseed_)() = nullptr;
};

}  // namespace tb

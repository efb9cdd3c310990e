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

}  // namespace tb

#pragma once
// The one scripted random source of the tests: the rules types take a tb::RandomSource, and
// these answer it from a script (the lowest value of the range once the script runs out).
#include <deque>
#include <utility>
#include <vector>

#include "runtime/random.hpp"

namespace tb::test {

// Draws from a script and records the ranges it was asked for; source() refers to this object.
struct ScriptedRandom {
    std::deque<int> script;
    std::vector<std::pair<int, int>> ranges;
    RandomSource source() {
        return [this](int low, int high) {
            ranges.emplace_back(low, high);
            if (script.empty()) return low;
            const int v = script.front();
            script.pop_front();
            return v;
        };
    }
};

// A source that owns its script.
inline RandomSource scripted(std::deque<int> draws) {
    return [draws = std::move(draws)](int low, int) mutable {
        if (draws.empty()) return low;
        const int v = draws.front();
        draws.pop_front();
        return v;
    };
}

}  // namespace tb::test

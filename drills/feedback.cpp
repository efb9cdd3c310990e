#include "drills/feedback.hpp"

#include <algorithm>

#include "content/spread.hpp"
#include "runtime/platform.hpp"

namespace tb::drills {

void play_exercise_sound(int n) {
    const List<Blob>& sounds = content::spread().exercise_sounds;
    if (n >= 1 && n <= sounds.count()) play_sound(sounds.at(n));
}

void play_feedback(const std::vector<Clip>& clips, int n) {
    if (clips.empty()) return;
    play_sound(clips[static_cast<std::size_t>(std::clamp(n, 1, static_cast<int>(clips.size())) - 1)]);
}

}  // namespace tb::drills

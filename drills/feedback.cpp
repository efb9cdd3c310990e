#include "drills/feedback.hpp"

#include <algorithm>

#include "content/spread.hpp"
#include "drills/exercise_lists.hpp"
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

void play_feedback_and_wait(const std::vector<Clip>& clips, int n) {
    play_feedback(clips, n);
    sleep_ms(feedback::kExerciseWaitMs);
    ui::hide_verdict();
}

void open_exercise_window(std::uint32_t window) {
    copy_exercise_lists();
    ui::show_window(window, true);
    stop_sounds();
}

int judge_on_enter(const ui::EventArgs& e, void (*judge)()) {
    constexpr int kEnter = 13;
    if (e.key_code == kEnter) judge();
    return 0;
}

}  // namespace tb::drills

#pragma once
// The platform seams under the program's logic: modal message boxes, the blocking sleep and the
// clock, the screen size, and the sound commands. The program installs the real ones at start-up
// (the toolkit and the media layer); tests install fakes (scripted answers, fake time, a
// recording sound output) so that nothing waits for real.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "runtime/text.hpp"

namespace tb {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Information, Question, Warning, Error };
// Values a message box returns.
inline constexpr int kMsgOk = 1;
inline constexpr int kMsgYes = 6;
inline constexpr int kMsgNo = 7;

struct ScreenSize {
    int width = 800;
    int height = 600;
};

// Sound commands. play() returns true when playback started; stop_all() signals every clip to
// stop and returns at once.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual bool play(std::span<const std::uint8_t> clip, bool loop) = 0;
    virtual void stop_all() = 0;
};

using MessageBoxFn = std::function<int(const Text& text, const Text& caption, MsgButtons, MsgIcon)>;
using SleepFn = std::function<void(int milliseconds)>;
using ClockFn = std::function<std::uint64_t()>;  // milliseconds since an arbitrary start
using ScreenFn = std::function<ScreenSize()>;

// Installing an empty function (or a null output) restores the default.
void set_message_box(MessageBoxFn fn);
void set_sleep(SleepFn fn);
void set_clock(ClockFn fn);
void set_screen(ScreenFn fn);
void set_sound_output(std::shared_ptr<SoundOutput> output);

// What the program's logic calls. Texts are GBK. The default caption is "信息：".
int message_box(const Text& text, const Text& caption, MsgButtons buttons = MsgButtons::Ok,
                MsgIcon icon = MsgIcon::None);
int message_box(const Text& text);
void sleep_ms(int milliseconds);
std::uint64_t tick_ms();
ScreenSize screen_size();
bool play_sound(std::span<const std::uint8_t> clip, bool loop = false);
void stop_sounds();

}  // namespace tb

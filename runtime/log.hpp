#pragma once
// The diagnostic log: one line per thing the program does (a clip started, a handler run, a
// caption written, a message box), in three categories that are off unless switched on. It is
// how a fault report, or anyone testing from outside, follows the program. The toolkit layer
// installs the sink (Qt logging categories tapbook.sound, tapbook.events, tapbook.ui); with no
// sink, or a category off, a log call costs one relaxed atomic load.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace tb::log {

enum class Category { Sound, Events, Ui };

// Whether lines of the category are written. Check it before building a line.
bool on(Category c);

// Writes one line (UTF-8, no line break) to the sink.
void line(Category c, std::string_view utf8_line);

// Where lines go, and which categories are on.
using Sink = std::function<void(Category, std::string_view)>;
void set_sink(Sink sink);
void set_enabled(Category c, bool enabled);

// The name a clip is known by in the baked assets ("page03/007", "feedback/right2"), for the
// sound lines. Installed by the media layer; without it clips are named by their size.
using ClipNamer = std::function<std::string(std::span<const std::uint8_t>)>;
void set_clip_namer(ClipNamer namer);
std::string clip_name(std::span<const std::uint8_t> clip);

// A GBK text as one log line's UTF-8: line breaks become the two characters \n.
std::string one_line(std::string_view gbk_text);

}  // namespace tb::log

#include "runtime/log.hpp"

#include <array>
#include <atomic>
#include <mutex>

#include "runtime/text.hpp"

namespace tb::log {
namespace {

struct Log {
    std::array<std::atomic<bool>, 3> enabled{};
    std::mutex mutex;  // guards sink and namer: the sound device opens, and logs, on a thread of its own
    Sink sink;
    ClipNamer namer;
};

Log& the_log() {
    static Log l;
    return l;
}

std::size_t slot(Category c) { return static_cast<std::size_t>(c); }

}  // namespace

bool on(Category c) { return the_log().enabled[slot(c)].load(std::memory_order_relaxed); }

void line(Category c, std::string_view utf8_line) {
    Log& l = the_log();
    std::lock_guard lock(l.mutex);
    if (l.sink) l.sink(c, utf8_line);
}

void set_sink(Sink sink) {
    Log& l = the_log();
    std::lock_guard lock(l.mutex);
    l.sink = std::move(sink);
}

void set_enabled(Category c, bool enabled) { the_log().enabled[slot(c)].store(enabled, std::memory_order_relaxed); }

void set_clip_namer(ClipNamer namer) {
    Log& l = the_log();
    std::lock_guard lock(l.mutex);
    l.namer = std::move(namer);
}

std::string clip_name(std::span<const std::uint8_t> clip) {
    ClipNamer namer;
    {
        std::lock_guard lock(the_log().mutex);
        namer = the_log().namer;
    }
    std::string name = namer ? namer(clip) : std::string();
    if (name.empty()) name = "clip of " + std::to_string(clip.size()) + " bytes";
    return name;
}

std::string one_line(std::string_view gbk_text) {
    const std::string u = utf8(gbk_text);
    std::string out;
    out.reserve(u.size());
    for (std::size_t i = 0; i < u.size(); ++i) {
        if (u[i] == '\r' && i + 1 < u.size() && u[i + 1] == '\n') continue;  // CR LF is one break
        if (u[i] == '\n' || u[i] == '\r') out += "\\n";
        else out += u[i];
    }
    return out;
}

}  // namespace tb::log

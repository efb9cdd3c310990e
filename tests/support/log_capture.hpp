#pragma once
// Captures the diagnostic log for a test: every category on, each line kept as
// "<category> <line>" (category sound, events or ui). Everything goes back to off when it ends.
#include <algorithm>
#include <string>
#include <vector>

#include "content/catalogue.hpp"
#include "runtime/log.hpp"

namespace tb::test {

class LogCapture {
public:
    LogCapture() {
        log::set_sink([this](log::Category c, std::string_view line) {
            const char* name = c == log::Category::Sound ? "sound " : c == log::Category::Events ? "events " : "ui ";
            lines.push_back(name + std::string(line));
        });
        log::set_clip_namer(&catalogue::clip_name);
        for (auto c : {log::Category::Sound, log::Category::Events, log::Category::Ui}) log::set_enabled(c, true);
    }
    ~LogCapture() {
        for (auto c : {log::Category::Sound, log::Category::Events, log::Category::Ui}) log::set_enabled(c, false);
        log::set_sink(nullptr);
        log::set_clip_namer(nullptr);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    bool has(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
    // Lines that start with the prefix, in order.
    std::vector<std::string> starting(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& l : lines)
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        return out;
    }

    std::vector<std::string> lines;
};

}  // namespace tb::test

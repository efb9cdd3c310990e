#pragma once
// A line of the clip manifest (tools/content writes it): group|name|kind|text, where the text may
// hold bars of its own. Read by the clip bake and by the voice check.
#include <array>
#include <optional>
#include <string>

namespace tb::clips {

struct ManifestLine {
    std::string group, name, kind, text;
};

// The line's four fields; nullopt when it has fewer. Comments and blank lines are the caller's.
inline std::optional<ManifestLine> split_manifest_line(const std::string& line) {
    std::array<std::string, 3> head;
    std::size_t at = 0;
    for (std::string& field : head) {
        const std::size_t bar = line.find('|', at);
        if (bar == std::string::npos) return std::nullopt;
        field = line.substr(at, bar - at);
        at = bar + 1;
    }
    return ManifestLine{head[0], head[1], head[2], line.substr(at)};
}

}  // namespace tb::clips

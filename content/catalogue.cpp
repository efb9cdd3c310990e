#include "content/catalogue.hpp"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_map>

#include "content/tables.hpp"
#include "runtime/embedded.hpp"

namespace tb::catalogue {
namespace {

std::vector<Clip> named(std::initializer_list<const char*> names) {
    std::vector<Clip> out;
    for (const char* n : names) out.push_back(clip_pack().clip(n));
    return out;
}

std::vector<Clip> right_clips() { return named({"feedback/right1", "feedback/right2", "feedback/right3"}); }

}  // namespace

const ClipPack& clip_pack() {
    static const ClipPack pack(embedded_blob("clips"));
    return pack;
}

std::vector<Clip> page_clips(int page_index) {
    if (page_index < 0 || page_index >= volume::kContentPages) return {};
    char group[16];
    std::snprintf(group, sizeof group, "page%02d", page_index);
    return clip_pack().group(group);
}

// The word list's cells play their drill word's clip; the text pack names which is which.
Clip word_list_clip(int hotspot) {
    const Text* clip = content::text_pack().find("wordlist/" + std::to_string(hotspot));
    return clip ? clip_pack().clip(*clip) : Clip{};
}

std::vector<Clip> drill_clips(int lesson) {
    if (lesson < 1 || lesson > volume::kLessons) return {};
    return clip_pack().group("drill" + std::to_string(lesson));
}

std::vector<Clip> practice_right_clips() { return right_clips(); }
std::vector<Clip> find_right_clips() { return right_clips(); }
std::vector<Clip> fill_in_right_clips() { return right_clips(); }
std::vector<Clip> ordering_right_clips() { return right_clips(); }

std::vector<Clip> practice_wrong_clips() {
    return named({"feedback/wrong1", "feedback/wrong2", "feedback/wrong3", "feedback/wrong4"});
}
std::vector<Clip> find_wrong_clips() { return practice_wrong_clips(); }
std::vector<Clip> fill_in_wrong_clips() { return named({"feedback/wrong1", "feedback/wrong3", "feedback/wrong4"}); }
std::vector<Clip> ordering_wrong_clips() { return fill_in_wrong_clips(); }

Clip practice_prompt() { return clip_pack().clip("prompts/practice"); }
Clip find_prompt() { return clip_pack().clip("prompts/find"); }
Clip complete_prompt() { return clip_pack().clip("prompts/complete"); }

std::string clip_name(std::span<const std::uint8_t> clip) {
    // Keyed by the bytes: a clip and its copies share them. A word-list cell and its drill word
    // carry the very same clip; the first name in sorted order (the drill's) is kept.
    static const std::unordered_map<std::string_view, std::string> by_bytes = [] {
        std::unordered_map<std::string_view, std::string> m;
        std::vector<std::string> names = clip_pack().clip_names();
        std::sort(names.begin(), names.end());
        for (const std::string& n : names) {
            Clip c = clip_pack().clip(n);
            m.emplace(std::string_view(reinterpret_cast<const char*>(c.data()), c.size()), n);
        }
        return m;
    }();
    auto it = by_bytes.find(std::string_view(reinterpret_cast<const char*>(clip.data()), clip.size()));
    return it == by_bytes.end() ? std::string() : it->second;
}

bool is_feedback_clip(std::span<const std::uint8_t> clip) {
    static const std::vector<Clip> feedback = [] {
        std::vector<Clip> all;
        for (const char* group : {"feedback", "prompts"})
            for (Clip c : clip_pack().group(group)) all.push_back(c);
        return all;
    }();
    return std::any_of(feedback.begin(), feedback.end(), [&](Clip c) {
        return c.size() == clip.size() && (c.data() == clip.data() || std::equal(c.begin(), c.end(), clip.begin()));
    });
}

std::span<const std::uint8_t> mark_picture(bool right) { return embedded_blob(right ? "mark-right" : "mark-wrong"); }

}  // namespace tb::catalogue

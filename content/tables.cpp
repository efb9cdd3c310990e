#include "content/tables.hpp"

#include <cstdio>

#include "runtime/bytes.hpp"
#include "runtime/embedded.hpp"

namespace tb::content {
namespace {

const Text kEmpty;

const Text& entry_or_empty(const std::string& name) {
    const Text* t = text_pack().find(name);
    return t ? *t : kEmpty;
}

std::string box_name(const char* kind, int printed_page, int box) {
    return std::string(kind) + "/" + std::to_string(printed_page) + "/" + std::to_string(box);
}

}  // namespace

TextPack::TextPack(std::span<const std::uint8_t> bytes) {
    bytes::Reader r(bytes);
    if (!r.tag("TBTX") || r.u32() != 1) return;
    const std::uint32_t count = r.u32();
    std::map<std::string, Text, std::less<>> entries;
    for (std::uint32_t i = 0; i < count && r.ok(); ++i) {
        Text name = r.string();
        Text value = r.string();
        if (r.ok()) entries[std::move(name)] = std::move(value);
    }
    if (!r.ok()) return;
    entries_ = std::move(entries);
    valid_ = true;
}

const Text* TextPack::find(std::string_view name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : &it->second;
}

const TextPack& text_pack() {
    static const TextPack pack(embedded_blob("texts"));
    return pack;
}

const Text& page_text(int page_index) {
    if (page_index < 0 || page_index >= volume::kContentPages) return kEmpty;
    char name[16];
    std::snprintf(name, sizeof name, "page%02d", page_index);
    return entry_or_empty(name);
}

const Text& lesson_text(int lesson) {
    if (lesson < 1 || lesson > volume::kLessons) return kEmpty;
    return entry_or_empty("drill" + std::to_string(lesson));
}

std::optional<Text> fill_in_answer(int printed_page, int box) {
    const Text* t = text_pack().find(box_name("fill", printed_page, box));
    if (!t) return std::nullopt;
    return *t;
}

std::optional<int> tick_expected(int printed_page, int box) {
    const Text* t = text_pack().find(box_name("tick", printed_page, box));
    if (!t || (*t != "0" && *t != "1")) return std::nullopt;
    return *t == "1" ? 1 : 0;
}

const Text& edition_text() { return entry_or_empty("edition"); }

void split_page_text(const Text& text, List<Text>& sentences, List<Text>& translations) {
    translations.clear();
    sentences.clear();
    const std::vector<Text> lines = split(text, "\r\n");
    for (std::size_t i = 0; i < lines.size(); ++i) (i % 2 == 0 ? sentences : translations).append(lines[i]);
}

List<Blob> copy_clip_table(const std::vector<Clip>& table) {
    List<Blob> out;
    for (Clip c : table) out.append(Blob(c.begin(), c.end()));
    return out;
}

}  // namespace tb::content

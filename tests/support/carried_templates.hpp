#pragma once
// The template set the program carries, and small look-ups the template tests share.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "runtime/embedded.hpp"
#include "runtime/text.hpp"
#include "ui/store/template_store.hpp"

namespace tb::test {

// Handler offsets by name, from the same table the compiler and the program read.
enum HandlerOffset : std::uint32_t {
#define TB_HANDLER(name) handler_##name,
#include "ui/store/handlers.def"
#undef TB_HANDLER
};

inline std::unique_ptr<ui::TemplateSet> carried_templates() {
    std::string why;
    auto set = ui::TemplateSet::parse(embedded_blob("templates"), &why);
    EXPECT_TRUE(set) << why;
    return set;
}

// What a window template's head records.
struct WindowHead {
    std::uint32_t window_word;
    std::uint32_t class_id;
    int records;
};

// The carried window of that id, its head checked. None (and the test failed) where the set or
// the window is missing or its record count is not the one expected. The set is read once.
inline ui::WindowTemplate* carried_window(std::uint32_t id, const WindowHead& head) {
    static const std::unique_ptr<ui::TemplateSet> set = carried_templates();
    ui::WindowTemplate* w = set ? set->find_window(id) : nullptr;
    if (!w) {
        ADD_FAILURE() << "no window " << std::hex << id;
        return nullptr;
    }
    EXPECT_EQ(w->window_word(), head.window_word);
    EXPECT_EQ(w->class_id(), head.class_id);
    EXPECT_EQ(w->record_count(), head.records);
    return w->record_count() == head.records ? w : nullptr;
}

// The record named so (UTF-8 name), if the window has one.
inline std::optional<ui::UnitRecord> record_named(const ui::WindowTemplate& w, const char* utf8_name) {
    const Text name = gbk(utf8_name);
    for (int i = 0; i < w.record_count(); ++i) {
        ui::UnitRecord r = w.record_at(i);
        if (r.name == name) return r;
    }
    return std::nullopt;
}

// Records by type code, the window's own record included.
inline std::map<ui::UnitType, int> count_by_type(const ui::WindowTemplate& w) {
    std::map<ui::UnitType, int> counts;
    for (int i = 0; i < w.record_count(); ++i) ++counts[static_cast<ui::UnitType>(w.record_at(i).type_code)];
    return counts;
}

// The window holds so many records of each type, its own record included, and none of another.
inline void expect_type_counts(const ui::WindowTemplate& w, const std::map<ui::UnitType, int>& expected) {
    const auto counts = count_by_type(w);
    for (const auto& [type, n] : expected) {
        const auto it = counts.find(type);
        EXPECT_EQ(it == counts.end() ? 0 : it->second, n) << "type code " << static_cast<std::uint32_t>(type);
    }
    EXPECT_EQ(counts.size(), expected.size()) << "types on the window";
}

// The records a collection with this filter keeps, in stored order.
inline std::vector<ui::UnitRecord> matching(const ui::WindowTemplate& w, const ui::CollectFilter& f) {
    std::vector<ui::UnitRecord> out;
    for (int i = 0; i < w.record_count(); ++i) {
        ui::UnitRecord r = w.record_at(i);
        if (r.type_code != static_cast<std::uint32_t>(ui::UnitType::Window) && f.matches(r)) out.push_back(r);
    }
    return out;
}

// A collection filter; the UTF-8 texts are converted to GBK.
inline ui::CollectFilter filter(const char* prefix, const char* type_name = "", long long lowest = -2147483648LL,
                                long long highest = 2147483647LL) {
    ui::CollectFilter f;
    f.prefix = gbk(prefix);
    f.type_name = gbk(type_name);
    f.lowest_tag = lowest;
    f.highest_tag = highest;
    return f;
}

inline std::array<std::int32_t, 4> place_of(const ui::UnitRecord& r) { return {r.left, r.top, r.width, r.height}; }

}  // namespace tb::test

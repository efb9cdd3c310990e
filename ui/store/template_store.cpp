// The template store: parsing of the stored set, the per-window record overlay for run-time
// copies and removals, and the searches the program's logic runs over the records.
#include "ui/store/template_store.hpp"

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

#include "runtime/error.hpp"
#include "runtime/bytes.hpp"

namespace tb::ui {
namespace {

using bytes::Reader;

constexpr std::size_t kReservedAfterType = 20;
constexpr std::size_t kReservedAfterBindings = 20;

// Walks one record body (the bytes after its length word). With out null it only checks that
// every field lies inside the body. Returns false when the record cannot be read to its end.
bool walk_record(std::span<const std::uint8_t> body, std::uint32_t unit_id, UnitRecord* out) {
    Reader r(body);
    std::uint32_t type = r.u32();
    r.skip(kReservedAfterType);
    auto name = r.ctext_view();
    auto comment = r.ctext_view();
    r.skip(4);  // object slot
    std::int32_t left = r.i32(), top = r.i32(), width = r.i32(), height = r.i32();
    r.skip(4);  // cursor slot
    std::uint32_t parent = r.u32();
    std::uint32_t child_count = r.u32();
    if (!r.ok() || child_count > r.remaining() / 4) return false;
    auto child_bytes = r.take(std::size_t{child_count} * 4);
    auto cursor_blob = r.blob_view();
    if (!cursor_blob.empty() && cursor_blob.size() != 4) return false;
    auto tag = r.ctext_view();
    r.skip(4);  // reserved
    std::uint32_t flags = r.u32();
    std::uint32_t tab_order = r.u32();
    std::uint32_t event_count = r.u32();
    if (!r.ok() || event_count > r.remaining() / 8) return false;
    auto binding_bytes = r.take(std::size_t{event_count} * 8);
    r.skip(kReservedAfterBindings);
    if (!r.ok()) return false;
    auto type_block = r.take(r.remaining());
    if (!out) return true;

    out->unit_id = unit_id;
    out->type_code = type;
    out->name.assign(reinterpret_cast<const char*>(name.data()), name.size());
    out->comment.assign(reinterpret_cast<const char*>(comment.data()), comment.size());
    out->left = left;
    out->top = top;
    out->width = width;
    out->height = height;
    out->parent = parent;
    out->children.clear();
    out->children.reserve(child_count);
    Reader cr(child_bytes);
    for (std::uint32_t i = 0; i < child_count; ++i) out->children.push_back(cr.u32());
    out->cursor = cursor_blob.empty() ? 0 : Reader(cursor_blob).u32();
    out->tag.assign(reinterpret_cast<const char*>(tag.data()), tag.size());
    out->flags = flags;
    out->tab_order = tab_order;
    out->bindings.clear();
    out->bindings.reserve(event_count);
    Reader br(binding_bytes);
    for (std::uint32_t i = 0; i < event_count; ++i) {
        Binding b;
        b.event = br.i32();
        b.handler = br.u32();
        out->bindings.push_back(b);
    }
    out->type_block = type_block;
    return true;
}

std::uint32_t peek_type(std::span<const std::uint8_t> body) { return Reader(body).u32(); }

class WindowImpl final : public WindowTemplate {
public:
    struct Original {
        std::uint32_t id;
        std::span<const std::uint8_t> body;
    };

    WindowImpl(std::uint32_t id, std::uint32_t word, std::uint32_t class_id, std::vector<Original> originals)
        : id_(id), word_(word), class_id_(class_id), originals_(std::move(originals)) {
        for (const auto& o : originals_) original_ids_.insert(o.id);
        reset();
    }

    std::uint32_t id() const override { return id_; }
    std::uint32_t window_word() const override { return word_; }
    std::uint32_t class_id() const override { return class_id_; }
    int record_count() const override { return static_cast<int>(slots_.size()); }

    std::uint32_t unit_id_at(int i) const override {
        return in_range(i) ? slots_[static_cast<std::size_t>(i)].id : 0;
    }

    UnitRecord record_at(int i) const override {
        UnitRecord rec;
        if (!in_range(i)) return rec;
        const Slot& s = slots_[static_cast<std::size_t>(i)];
        if (s.copy) {
            rec = *s.copy;
        } else {
            const Original& o = originals_[static_cast<std::size_t>(s.original)];
            walk_record(o.body, o.id, &rec);  // checked when the set was parsed
        }
        if (auto it = children_override_.find(s.id); it != children_override_.end()) rec.children = it->second;
        return rec;
    }

    std::optional<UnitRecord> record_of(std::uint32_t unit_id) const override {
        int i = index_of(unit_id);
        if (i < 0) return std::nullopt;
        return record_at(i);
    }

    int index_of(std::uint32_t unit_id) const override {
        auto it = index_.find(unit_id);
        return it == index_.end() ? -1 : it->second;
    }

    std::uint32_t append_copy(std::uint32_t source_id) override {
        int si = index_of(source_id);
        if (si <= 0) return 0;  // missing, or the window's own record
        UnitRecord src = record_at(si);
        auto copy = std::make_shared<UnitRecord>(src);
        copy->unit_id = fresh_id();
        if (copy->unit_id == 0) return 0;
        copy->children.clear();
        copy->bindings.clear();
        slots_.push_back(Slot{copy->unit_id, -1, copy});
        index_[copy->unit_id] = static_cast<int>(slots_.size()) - 1;

        if (src.parent != 0) {
            int pi = index_of(src.parent);
            if (pi >= 0) {
                UnitRecord parent = record_at(pi);
                std::vector<std::uint32_t> list = parent.children;
                auto at = std::find(list.begin(), list.end(), source_id);
                if (at != list.end()) {
                    list.insert(at + 1, copy->unit_id);
                } else if (parent.type_code == static_cast<std::uint32_t>(UnitType::PageControl) &&
                           !list.empty() && list.back() == 0) {
                    list.insert(list.end() - 1, copy->unit_id);  // into the last page's group
                } else {
                    list.push_back(copy->unit_id);
                }
                children_override_[src.parent] = std::move(list);
            }
        }
        return copy->unit_id;
    }

    void remove(std::uint32_t unit_id) override {
        int i = index_of(unit_id);
        if (i <= 0) return;  // missing, or the window's own record (the window is closed instead)
        std::uint32_t parent = record_at(i).parent;
        slots_.erase(slots_.begin() + i);
        children_override_.erase(unit_id);
        rebuild_index();
        if (parent == 0) return;
        int pi = index_of(parent);
        if (pi < 0) return;
        std::vector<std::uint32_t> list = record_at(pi).children;
        list.erase(std::remove(list.begin(), list.end(), unit_id), list.end());
        children_override_[parent] = std::move(list);
    }

    void reset() override {
        slots_.clear();
        slots_.reserve(originals_.size());
        for (std::size_t i = 0; i < originals_.size(); ++i)
            slots_.push_back(Slot{originals_[i].id, static_cast<int>(i), nullptr});
        children_override_.clear();
        next_copy_ = 0x16000000u;
        rebuild_index();
    }

    int page_of(std::uint32_t unit_id) const override {
        // Page groups of every page container: unit id -> page.
        std::unordered_map<std::uint32_t, int> page_by_unit;
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            if (type_at(i) != static_cast<std::uint32_t>(UnitType::PageControl)) continue;
            UnitRecord pc = record_at(static_cast<int>(i));
            int page = 0;
            for (std::uint32_t child : pc.children) {
                if (child == 0)
                    ++page;
                else
                    page_by_unit.emplace(child, page);
            }
        }
        if (page_by_unit.empty()) return -1;
        std::uint32_t cur = unit_id;
        // Parent chains in bad data may loop; a chain never has more links than records.
        for (std::size_t steps = 0; cur != 0 && steps <= slots_.size(); ++steps) {
            if (auto it = page_by_unit.find(cur); it != page_by_unit.end()) return it->second;
            int i = index_of(cur);
            if (i <= 0) return -1;
            cur = record_at(i).parent;
        }
        return -1;
    }

private:
    struct Slot {
        std::uint32_t id;
        int original;                             // index into originals_, or -1 for a copy
        std::shared_ptr<const UnitRecord> copy;   // the copy's record
    };

    bool in_range(int i) const { return i >= 0 && static_cast<std::size_t>(i) < slots_.size(); }

    std::uint32_t type_at(std::size_t i) const {
        const Slot& s = slots_[i];
        return s.copy ? s.copy->type_code : peek_type(originals_[static_cast<std::size_t>(s.original)].body);
    }

    void rebuild_index() {
        index_.clear();
        index_.reserve(slots_.size());
        for (std::size_t i = 0; i < slots_.size(); ++i) index_.emplace(slots_[i].id, static_cast<int>(i));
    }

    // Ids of copies count up from 0x16000000 and never reuse an id loaded from the set or still
    // in use, so a destroyed unit's id is not handed out again while the window lives.
    std::uint32_t fresh_id() {
        for (std::uint32_t tries = 0; tries < 0x01000000u; ++tries) {
            std::uint32_t candidate = next_copy_;
            next_copy_ = next_copy_ == 0x16FFFFFFu ? 0x16000001u : next_copy_ + 1;
            if (candidate == 0x16000000u) continue;
            if (!original_ids_.count(candidate) && !index_.count(candidate)) return candidate;
        }
        return 0;
    }

    std::uint32_t id_, word_, class_id_;
    std::vector<Original> originals_;
    std::unordered_set<std::uint32_t> original_ids_;
    std::vector<Slot> slots_;
    std::unordered_map<std::uint32_t, int> index_;
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> children_override_;
    std::uint32_t next_copy_ = 0x16000000u;
};

class SetImpl final : public TemplateSet {
public:
    std::vector<std::unique_ptr<WindowImpl>> windows;

    int window_count() const override { return static_cast<int>(windows.size()); }
    WindowTemplate& window_at(int i) override { return *windows.at(static_cast<std::size_t>(i)); }
    WindowTemplate* find_window(std::uint32_t window_id) override {
        for (auto& w : windows)
            if (w->id() == window_id) return w.get();
        return nullptr;
    }
};

bool fail(std::string* why, std::string reason) {
    if (why) *why = std::move(reason);
    return false;
}

std::unique_ptr<TemplateSet> refuse(std::string* why, std::string reason) {
    if (why) *why = std::move(reason);
    return nullptr;
}

std::string hex(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

// Reads one window template's unit block into its table of records.
bool read_unit_block(std::span<const std::uint8_t> block, std::uint32_t count,
                     std::vector<WindowImpl::Original>& out, std::string* why, const std::string& where) {
    if (count == 0) return fail(why, where + ": no records (the window's own record is missing)");
    if (count > block.size() / 8) return fail(why, where + ": unit count " + std::to_string(count) + " does not fit its block");
    Reader ids(block.subspan(0, std::size_t{count} * 4));
    Reader offsets(block.subspan(std::size_t{count} * 4, std::size_t{count} * 4));
    auto records = block.subspan(std::size_t{count} * 8);
    out.reserve(count);
    std::unordered_set<std::uint32_t> seen;
    seen.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t id = ids.u32();
        std::uint32_t off = offsets.u32();
        std::string rec = where + ", record " + std::to_string(i) + " (" + hex(id) + ")";
        if (id == 0) return fail(why, rec + ": unit id 0");
        if (!seen.insert(id).second) return fail(why, rec + ": unit id used twice");
        if (off > records.size() || records.size() - off < 4) return fail(why, rec + ": offset past the unit block");
        std::uint32_t len = Reader(records.subspan(off, 4)).u32();
        if (len > records.size() - off - 4) return fail(why, rec + ": record length past the unit block");
        auto body = records.subspan(std::size_t{off} + 4, len);
        if (!walk_record(body, id, nullptr)) return fail(why, rec + ": fields run past the record length");
        if (i == 0 && peek_type(body) != static_cast<std::uint32_t>(UnitType::Window))
            return fail(why, rec + ": the first record is not the window's own record");
        out.push_back({id, body});
    }
    return true;
}

}  // namespace

std::unique_ptr<TemplateSet> TemplateSet::parse(std::span<const std::uint8_t> data, std::string* why) {
    Reader r(data);
    std::uint32_t dir_len = r.u32();
    if (!r.ok()) return refuse(why, "set shorter than its directory length");
    if (dir_len % 8 != 0) return refuse(why, "directory length " + std::to_string(dir_len) + " is not a multiple of 8");
    if (dir_len > r.remaining()) return refuse(why, "directory runs past the end of the set");
    std::uint32_t n = dir_len / 8;
    std::vector<std::uint32_t> ids(n);
    for (auto& id : ids) id = r.u32();
    r.skip(std::size_t{n} * 4);  // reserved window slots

    auto set = std::make_unique<SetImpl>();
    for (std::uint32_t w = 0; w < n; ++w) {
        std::string where = "window " + hex(ids[w]);
        std::uint32_t word = r.u32();
        std::uint32_t class_id = r.u32();
        r.blob_view();  // text 1
        r.blob_view();  // text 2
        std::uint32_t count = r.u32();
        std::uint32_t block_len = r.u32();
        if (!r.ok()) return refuse(why, where + ": template header cut short");
        auto block = r.take(block_len);
        if (!r.ok()) return refuse(why, where + ": unit block runs past the end of the set");
        for (const auto& other : set->windows)
            if (other->id() == ids[w]) return refuse(why, where + ": window id used twice");
        std::vector<WindowImpl::Original> originals;
        if (!read_unit_block(block, count, originals, why, where)) return nullptr;
        set->windows.push_back(std::make_unique<WindowImpl>(ids[w], word, class_id, std::move(originals)));
    }
    if (r.remaining() != 0)
        return refuse(why, std::to_string(r.remaining()) + " bytes after the last window template");
    return set;
}

// ---- The program's set -------------------------------------------------------------------

namespace {
std::unique_ptr<TemplateSet>& loaded_set() {
    static std::unique_ptr<TemplateSet> set;
    return set;
}
}  // namespace

void load_templates(std::span<const std::uint8_t> data) {
    std::string why;
    auto set = TemplateSet::parse(data, &why);
    if (!set) raise_runtime_error(errcode::kTemplate, msg::kTemplateLoad);
    loaded_set() = std::move(set);
}

TemplateSet& templates() {
    auto& set = loaded_set();
    if (!set) {
        static const std::uint8_t kEmpty[4] = {0, 0, 0, 0};
        set = TemplateSet::parse(kEmpty);  // nothing loaded yet: a set without windows
    }
    return *set;
}

WindowTemplate* find_window(std::uint32_t window_id) { return templates().find_window(window_id); }

std::optional<UnitRecord> record_of(std::uint32_t window_id, std::uint32_t unit_id) {
    WindowTemplate* w = find_window(window_id);
    if (!w) return std::nullopt;
    return w->record_of(unit_id);
}

UnitRef find_unit_by_tag(std::uint32_t window_id, long long tag) {
    WindowTemplate* w = find_window(window_id);
    if (!w) raise_runtime_error(errcode::kWindow, msg::kWindowNotInSet);
    for (int i = 0; i < w->record_count(); ++i) {
        UnitRecord rec = w->record_at(i);
        if (rec.tag_number() == tag) return UnitRef{window_id, rec.unit_id, rec.type_code};
    }
    raise_runtime_error(errcode::kUnitNotFound, msg::kTagNotFound);
}

long long UnitRecord::tag_number() const { return text_number(tag); }

std::uint32_t UnitRecord::handler_for(std::int32_t event) const {
    for (const Binding& b : bindings)
        if (b.event == event) return b.handler;
    return kNoHandler;
}

bool CollectFilter::matches(const UnitRecord& record) const {
    if (!prefix.empty() && (record.name.size() < prefix.size() || record.name.compare(0, prefix.size(), prefix) != 0))
        return false;
    if (!type_name.empty() && chinese_type_name(record.type_code) != type_name) return false;
    long long tag = record.tag_number();
    return tag >= lowest_tag && tag <= highest_tag;
}

const Text& chinese_type_name(std::uint32_t type_code) {
    struct Entry {
        UnitType type;
        Text name;
    };
    static const std::vector<Entry> kNames = {
        {UnitType::Window, gbk("窗口")},          {UnitType::EditBox, gbk("编辑框")},
        {UnitType::PicBox, gbk("图片框")},        {UnitType::DrawPanel, gbk("画板")},
        {UnitType::GroupBox, gbk("分组框")},      {UnitType::Label, gbk("标签")},
        {UnitType::Button, gbk("按钮")},          {UnitType::CheckBox, gbk("选择框")},
        {UnitType::ComboBox, gbk("组合框")},      {UnitType::TransLabel, gbk("透明标签")},
        {UnitType::SuperBtn, gbk("超级按钮")},    {UnitType::RichEdit, gbk("超级编辑框")},
        {UnitType::PageControl, gbk("高级选择夹")},
    };
    static const Text kUnknown;
    for (const Entry& e : kNames)
        if (static_cast<std::uint32_t>(e.type) == type_code) return e.name;
    return kUnknown;
}

}  // namespace tb::ui

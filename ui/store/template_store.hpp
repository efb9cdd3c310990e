#pragma once
// The template store: the stored window templates that describe every window and every unit on
// it, loaded once at start-up from the template set the program carries. Plain C++ (no toolkit):
// the bake tooling shares it.
//
// Records are addressed through each window's offset table and walked field by field only when
// a unit is created, looked up or collected.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/text.hpp"

namespace tb::ui {

// Type codes: (type family << 16) | type number.
enum class UnitType : std::uint32_t {
    Window = 0x00010001,
    EditBox = 0x00010005,
    PicBox = 0x00010006,
    DrawPanel = 0x00010008,
    GroupBox = 0x00010009,
    Label = 0x0001000A,
    Button = 0x0001000B,
    CheckBox = 0x0001000C,
    ComboBox = 0x0001000E,
    TransLabel = 0x00020005,
    SuperBtn = 0x00030001,
    RichEdit = 0x00030006,
    PageControl = 0x00040002,
};

// The Chinese type name (GBK) that collection by type name compares against; empty if unknown.
const Text& chinese_type_name(std::uint32_t type_code);

// Standard cursors held in a record's cursor blob.
inline constexpr std::uint32_t kCursorHand = 0x7F89;
inline constexpr std::uint32_t kCursorArrow = 0x7F00;

// Record flags.
inline constexpr std::uint32_t kFlagVisible = 1u << 0;
inline constexpr std::uint32_t kFlagDisabled = 1u << 1;
inline constexpr std::uint32_t kFlagTabStop = 1u << 2;

inline constexpr std::uint32_t kNoHandler = 0xFFFFFFFFu;

struct Binding {
    std::int32_t event = 0;
    std::uint32_t handler = kNoHandler;  // offset into the handler table; kNoHandler: none
};

// One unit record, walked out of the store.
struct UnitRecord {
    std::uint32_t unit_id = 0;
    std::uint32_t type_code = 0;
    Text name;     // GBK; empty for the window's own record
    Text comment;  // GBK
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    std::uint32_t parent = 0;  // 0: the window itself
    std::vector<std::uint32_t> children;  // for a PageControl, each page's group ends with 0
    std::uint32_t cursor = 0;             // kCursorHand, kCursorArrow or 0 (the type's default)
    Text tag;                             // GBK; read as a decimal number by searches
    std::uint32_t flags = 0;
    std::uint32_t tab_order = 0;
    std::vector<Binding> bindings;
    std::span<const std::uint8_t> type_block;  // view into the store; valid while the set lives

    bool visible() const { return (flags & kFlagVisible) != 0; }
    bool disabled() const { return (flags & kFlagDisabled) != 0; }
    bool tab_stop() const { return (flags & kFlagTabStop) != 0; }
    // The tag as a number: the standard decimal conversion (empty or non-numeric reads 0).
    long long tag_number() const;
    // The handler bound to an event, or kNoHandler.
    std::uint32_t handler_for(std::int32_t event) const;
};

// A unit reference: what collection returns and what the runtime gives for the event's unit.
struct UnitRef {
    std::uint32_t window_id = 0;
    std::uint32_t unit_id = 0;
    std::uint32_t type_code = 0;
    friend bool operator==(const UnitRef&, const UnitRef&) = default;
};

class WindowTemplate {
public:
    virtual ~WindowTemplate() = default;
    virtual std::uint32_t id() const = 0;
    virtual std::uint32_t window_word() const = 0;
    virtual std::uint32_t class_id() const = 0;

    // Records in stored order, the window's own record first; copies appended at the end.
    virtual int record_count() const = 0;
    virtual std::uint32_t unit_id_at(int i) const = 0;  // from the id table, no walk
    virtual UnitRecord record_at(int i) const = 0;
    virtual std::optional<UnitRecord> record_of(std::uint32_t unit_id) const = 0;
    virtual int index_of(std::uint32_t unit_id) const = 0;  // -1 when there is none

    // Record bookkeeping for run-time copies and destruction.
    // Appends a copy of the source's record with a fresh unit id (same type, name, geometry,
    // parent, tag, flags, cursor and type block; no children, no bindings) and inserts its id
    // into the parent unit's child list right after the source's. Returns the new id, or 0 when
    // the source is missing or is the window's own record.
    virtual std::uint32_t append_copy(std::uint32_t source_id) = 0;
    // Removes the unit's record and its entry in its parent's child list.
    virtual void remove(std::uint32_t unit_id) = 0;
    // Restores the window's records to the state loaded from the set (the next showing of the
    // window starts again from its template).
    virtual void reset() = 0;

    // The page (0-based) of the page container that holds the unit, following parent ids up to
    // a unit named in a PageControl's child list; -1 when the unit is on no page.
    virtual int page_of(std::uint32_t unit_id) const = 0;
};

class TemplateSet {
public:
    virtual ~TemplateSet() = default;
    virtual int window_count() const = 0;
    virtual WindowTemplate& window_at(int i) = 0;
    virtual WindowTemplate* find_window(std::uint32_t window_id) = 0;

    // Parses a set. Returns null (and the reason, for people) when the bytes cannot be read to
    // their end. The bytes must outlive the set (the program's embedded data does).
    static std::unique_ptr<TemplateSet> parse(std::span<const std::uint8_t> bytes, std::string* why = nullptr);
    // The set reads its bytes in place, so parsing a temporary would leave it reading freed memory.
    static std::unique_ptr<TemplateSet> parse(Blob&& temporary, std::string* why = nullptr) = delete;
};

// The program's template set. load_templates reports "载入窗口模板数据段出错!" as a run-time
// error when the bytes cannot be read.
void load_templates(std::span<const std::uint8_t> bytes);
TemplateSet& templates();
WindowTemplate* find_window(std::uint32_t window_id);
std::optional<UnitRecord> record_of(std::uint32_t window_id, std::uint32_t unit_id);

// The first unit in stored order (the window's own record included) whose tag reads as the
// given number. No match is the run-time error "未找到指定标记的组件".
UnitRef find_unit_by_tag(std::uint32_t window_id, long long tag);

// The record filter of collection: name prefix (bytes, case-sensitive; empty matches all),
// Chinese type name (exact; empty matches all) and tag range (both ends included).
struct CollectFilter {
    Text prefix;
    Text type_name;
    long long lowest_tag = -2147483648LL;
    long long highest_tag = 2147483647LL;
    bool matches(const UnitRecord& record) const;
};

}  // namespace tb::ui

#pragma once
// The widget set as the program's logic sees it: units named by (window id, unit id), properties
// by index (and a member for fonts), the unit that raised the event being handled, and windows
// shown, copied from and destroyed. The toolkit stays behind this header.
#include <cstdint>
#include <span>
#include <variant>
#include <vector>

#include "runtime/text.hpp"
#include "ui/store/template_store.hpp"
#include "ui/store/type_blocks.hpp"

namespace tb::ui {

// Common property indices.
namespace prop {
inline constexpr int kLeft = 0;
inline constexpr int kTop = 1;
inline constexpr int kWidth = 2;
inline constexpr int kHeight = 3;
inline constexpr int kTag = 4;
inline constexpr int kVisible = 5;
inline constexpr int kDisabled = 6;
inline constexpr int kCursor = 7;
}  // namespace prop

// Font members.
namespace font_member {
inline constexpr int kWhole = -1;
inline constexpr int kAngle = 0;  // tenths of a degree, taken modulo 3600
inline constexpr int kBold = 1;
inline constexpr int kItalic = 2;
inline constexpr int kStrikeOut = 3;
inline constexpr int kUnderline = 4;
inline constexpr int kSize = 5;   // points
inline constexpr int kFace = 6;
}  // namespace font_member


// A property value. A write converts the given value to the property's kind (integers to text
// in decimal, texts to integers by the decimal conversion, picks clamped, bools 0 or 1).
using Value = std::variant<std::int32_t, Text, Blob, Font>;

// Arguments of an event: -1 (x, y in the unit, key state 1 Ctrl, 2 Shift, 4 Alt); -9 (key code,
// key state); 0 and 1 none.
struct EventArgs {
    std::int32_t event = 0;
    int x = 0;
    int y = 0;
    int key_state = 0;
    int key_code = 0;
};

// A handler routine. Its result matters only for PageControl event 1: 1 refuses the change.
using Handler = int (*)(const EventArgs&);

void set_property(std::uint32_t window, std::uint32_t unit, int index, int member, const Value& value);
Value get_property(std::uint32_t window, std::uint32_t unit, int index, int member = font_member::kWhole);

// Shorthands for the common cases.
inline void set_property(std::uint32_t window, std::uint32_t unit, int index, const Value& value) {
    set_property(window, unit, index, font_member::kWhole, value);
}
std::int32_t get_int(std::uint32_t window, std::uint32_t unit, int index, int member = font_member::kWhole);
Text get_text(std::uint32_t window, std::uint32_t unit, int index);

// The unit whose event is being handled. Outside a handler: the run-time error
// "“取事件组件”命令只能在事件处理子程序中使用".
UnitRef event_unit();

// Creates the window's units from its template and shows it. With modal, returns only when the
// window has been closed. Returns false when the window cannot be shown.
bool show_window(std::uint32_t window_id, bool modal);
bool window_shown(std::uint32_t window_id);

// A run-time copy of a unit: hidden, no events, same parent, drawn right behind the source.
// Returns a reference with unit id 0 when the copy fails.
UnitRef copy_unit(const UnitRef& source);

// Destroys a unit, or closes the window when given the window's own id.
void destroy(const UnitRef& unit);
void destroy_window(std::uint32_t window_id);

void set_focus(const UnitRef& unit);

// Collection: the shown window's units that pass the filter, in stored order. Every filter is
// optional. Returns an empty list when nothing matches.
std::vector<UnitRef> collect_units(std::uint32_t window_id, const Text& prefix = {}, const Text& type_name = {},
                                   long long lowest_tag = -2147483648LL, long long highest_tag = 2147483647LL);

// Handler routines by table offset (the same table the template compiler writes offsets from).
void set_handler_table(std::span<const Handler> table);

}  // namespace tb::ui

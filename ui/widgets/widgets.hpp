#pragma once
// The widget set as the program's logic sees it: units named by (window id, unit id), properties
// by index (and a member for fonts), the unit that raised the event being handled, and windows
// shown, copied from and destroyed. The toolkit stays behind this header.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "runtime/platform.hpp"
#include "runtime/text.hpp"
#include "ui/store/template_store.hpp"
#include "ui/store/type_blocks.hpp"

class QWidget;
class QStyle;

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

// Type-specific property indices the program's logic uses (the window's and each unit type's own).
namespace prop {
inline constexpr int kWindowState = 18;          // window: 0 normal, 2 minimised, 3 maximised
inline constexpr int kTransCaption = 8;          // TransLabel
inline constexpr int kTransEffect = 9;
inline constexpr int kTransFont = 10;
inline constexpr int kTransColour = 11;
inline constexpr int kTransHAlign = 12;
inline constexpr int kTransWrap = 13;
inline constexpr int kTransVAlign = 14;
inline constexpr int kPicBorder = 8;             // PicBox
inline constexpr int kPicBackground = 9;
inline constexpr int kPicPicture = 10;
inline constexpr int kPicDisplayMode = 11;
inline constexpr int kPicAnimate = 12;
inline constexpr int kLabelCaption = 8;          // Label
inline constexpr int kLabelFont = 15;
inline constexpr int kLabelAlignment = 24;
inline constexpr int kEditContent = 8;           // EditBox
inline constexpr int kEditColour = 10;
inline constexpr int kEditBackground = 11;
inline constexpr int kEditFont = 12;
inline constexpr int kCheckCaption = 11;         // CheckBox
inline constexpr int kChecked = 18;
inline constexpr int kComboSelection = 19;       // ComboBox: 0-based item index, -1 none
inline constexpr int kBtnStyle = 8;              // SuperBtn
inline constexpr int kBtnToggle = 9;
inline constexpr int kBtnChecked = 10;
inline constexpr int kBtnPicture1 = 15;
inline constexpr int kBtnPicture0 = 17;
inline constexpr int kBtnPicture2 = 19;
inline constexpr int kBtnFont = 21;
inline constexpr int kBtnCaption = 22;
inline constexpr int kBtnBuiltinSound = 30;
inline constexpr int kBtnSound = 31;
inline constexpr int kBtnClickSound = 32;
inline constexpr int kBtnTooltip = 33;
inline constexpr int kCurrentPage = 12;          // PageControl
inline constexpr int kCaption = 8;               // Button, GroupBox caption; RichEdit content
inline constexpr int kRichFont = 10;             // RichEdit: character format of the whole text
inline constexpr int kRichColour = 11;
}  // namespace prop


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
// Closes a shown window and creates it anew from its template, as a new showing does (its
// created event runs), and returns at once: a modal window stays modal, and the showing that
// waits for it goes on waiting for the new one, so rebuilding again and again nests nothing.
// Returns false when the window is not shown or cannot be built.
bool rebuild_window(std::uint32_t window_id);
bool window_shown(std::uint32_t window_id);

// A run-time copy of a unit: hidden, no events, same parent, drawn right behind the source.
// Returns a reference with unit id 0 when the copy fails.
UnitRef copy_unit(const UnitRef& source);

// Destroys a unit, or closes the window when given the window's own id.
void destroy(const UnitRef& unit);
void destroy_window(std::uint32_t window_id);

void set_focus(const UnitRef& unit);

// The width in pixels (with fractions) that the font gives the text on the screen, as a label
// draws it: for laying things over a label's words.
double text_width(const Font& font, const Text& text);

// Lets the pupil drag the unit with the mouse: called from the unit's left-button-pressed
// handler, the unit follows the mouse (keeping the point where it was pressed under the
// pointer) until the button is released, and stays where it is dropped.
void drag_with_mouse(const UnitRef& unit);

// Collection: the shown window's units that pass the filter, in stored order. Every filter is
// optional. Returns an empty list when nothing matches.
std::vector<UnitRef> collect_units(std::uint32_t window_id, const Text& prefix = {}, const Text& type_name = {},
                                   long long lowest_tag = -2147483648LL, long long highest_tag = 2147483647LL);

// Marks a unit's box with a soft, rounded, translucent highlight drawn over it and its siblings;
// it never takes presses, so everything under it behaves as before. One highlight at a time:
// showing another moves it. Hiding when none shows does nothing.
void show_highlight(const UnitRef& unit);
void hide_highlight();
// The unit highlighted now (unit id 0 when none).
UnitRef highlighted_unit();

// After an answer: a green tick (right) or a red cross (wrong) centred on the point (x, y) of a
// unit (in the unit's own coordinates), drawn over its window until hidden. Like the highlight it
// never takes presses, and there is one at a time.
void show_verdict(const UnitRef& unit, int x, int y, bool right);
void hide_verdict();
bool verdict_shown();
// "还剩 N 题" (N questions left) on a small card inside the top right corner of a unit; one at a
// time, never taking presses.
void show_questions_left(const UnitRef& unit, int count);
void hide_questions_left();

// The keyboard focus ring: a ring at least 3 px wide in a strong blue with white edges (it stands
// out on light and dark pictures alike) round a unit, drawn over it and its siblings like the
// highlight and, like it, never taking presses. One ring at a time; showing another moves it.
void show_focus_ring(const UnitRef& unit);
void hide_focus_ring();
// The unit the ring is round now (unit id 0 when none, or when its window is gone).
UnitRef focus_ring_unit();

// Keys a window's page answers to.
enum class PageKey {
    NextItem,      // Tab
    PreviousItem,  // Shift+Tab
    Activate,      // Enter, Space (not while the key is held and repeating)
    PageForward,   // PageDown, and Right
    PageBack,      // PageUp, and Left
    Stop,          // Esc
};
// Key presses anywhere in the window go to `on_key` first, which says whether it took the key;
// one it did not take goes on as usual. While an edit box has the focus the keys keep their
// meaning there: only PageDown, PageUp and Esc reach `on_key`. Set again to replace it.
void set_page_keys(std::uint32_t window, std::function<bool(PageKey)> on_key);

// Presses the left button on `target` at the centre of `of` and lets it go, as the pupil's
// press there would arrive (the target's own press handler runs; a button is clicked).
void press_at_centre(const UnitRef& target, const UnitRef& of);

// Assistive technology sees the unit as a button with this name (GBK).
void set_accessible_button(const UnitRef& unit, const Text& name);

// A key sequence ("Ctrl+E") that runs `action` while the unit is shown in the active window.
void set_shortcut(std::uint32_t window, std::uint32_t unit, const char* keys, std::function<void()> action);

// A right-button menu on a unit (and on the units inside it that have no menu of their own).
// `items` is asked as the menu opens, so captions and check marks show the state of that moment.
struct MenuItem {
    Text caption;  // GBK
    bool checkable = false;
    bool checked = false;
    std::function<void()> chosen;
    bool enabled = true;
};
void set_context_menu(std::uint32_t window, std::uint32_t unit, std::function<std::vector<MenuItem>()> items);
// While a right-button menu's items are asked for: the unit under the pointer (unit id 0 for none).
UnitRef menu_unit();

// A key combination on a window ("Ctrl+R"), whichever of its controls has the focus.
void set_key_shortcut(std::uint32_t window, const char* keys, std::function<void()> pressed);

// Watches the pupil's input while set: every mouse press and key press anywhere (modifier keys
// alone aside), and every window closed, is told as it arrives, before the control it goes to
// gets it. An empty function stops watching.
enum class Input { Press, Key, Close };
void watch_input(std::function<void(Input)> seen);

// Told when a window closes, whatever closes it (its exit button, the window's frame, the
// program's end).
void set_window_closed_listener(std::function<void(std::uint32_t window_id)> fn);

// The recorder's panel, painted over the page next to a unit (never a template unit): a status
// line, a level meter while `level` is 0 or more, and a row of controls. Showing it again
// replaces what it shows; one panel at a time.
struct RecordPanel {
    Text status;         // GBK
    double level = -1;   // 0..1, below 0: no meter
    std::vector<MenuItem> controls;
};
void show_record_panel(const UnitRef& near, const RecordPanel& panel);
void set_record_level(double level);
void hide_record_panel();
bool record_panel_shown();

// Handler routines by table offset (the same table the template compiler writes offsets from),
// with their names for the diagnostic log (may be empty, or shorter than the table).
void set_handler_table(std::span<const Handler> table, std::span<const char* const> names = {});

// Switches the diagnostic log's categories (tapbook.sound, tapbook.events, tapbook.ui) from Qt's
// logging rules (QT_LOGGING_RULES="tapbook.*.debug=true") and sends their lines to Qt's log.
void install_diagnostic_log();

// Holds the pupil's input back while `during` runs: presses, key strokes and window closes that
// reach the program meanwhile are kept, in order, and delivered to their controls once the event
// loop runs again (after the handler that waits has returned). Painting and timers go on.
void with_input_held(const std::function<void()>& during);

// A feedback pause: waits that many milliseconds with the windows painted and the pupil's input
// held back (with_input_held). The program's sleep seam.
void feedback_wait(int milliseconds);

// A combo box's item data and item text at a 0-based index: -1 and the empty text when the index
// names no item (as for a combo box with nothing selected).
std::int32_t combo_item_data(std::uint32_t window, std::uint32_t unit, int item);
Text combo_item_text(std::uint32_t window, std::uint32_t unit, int item);
int combo_item_count(std::uint32_t window, std::uint32_t unit);

// The live control of a unit (the window's own control for the window's record id or 0), or
// null. For the program's start-up and for tests that drive controls with real input.
QWidget* control_of(std::uint32_t window, std::uint32_t unit);

// Closes every shown window at once (program end, and between tests); pictures being decoded
// ahead are dropped, and the decode under way is waited for.
void close_all_windows();

// Real platform seams on Qt: message boxes, screen size, blocking sleep, and the CJK font
// substitutions with the default GUI font. Needs a QApplication.
void install_qt_seams();
void install_fonts();
// Runs `then` once, from the event loop, after the first window put on screen from now on has
// had its first paint: for work the pupil need not wait for to see that window.
void after_first_window(std::function<void()> then);
// Makes the application's style the program's: Qt's own, drawing with one palette per set of
// colours so that the pictures it keeps of drawn controls serve every window built anew.
void install_steady_style();
// That style over base (owned by it); for tests that watch what the style draws.
QStyle* steady_palette_style(QStyle* base);
// The real modal message box (the message-box seam). Keys held down, and keys struck before the
// box had been up for a moment (typed ahead of it), do not answer it.
int show_message_box(const Text& text, const Text& caption, MsgButtons buttons, MsgIcon icon);

// A run-time error raised by a handler that was run from the toolkit's event delivery. When the
// installed reporter throws (tests), the error cannot travel through the toolkit's frames, so it
// is kept here (the first one) for the test to take; with the real reporter the program has ended.
struct HandlerError {
    int code = 0;
    Text message;  // GBK
};
std::optional<HandlerError> take_handler_error();

}  // namespace tb::ui

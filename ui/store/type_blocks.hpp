#pragma once
// The type-specific blocks of unit records: each unit type's own stored properties (captions,
// fonts, colours, pictures, item lists). Every block begins with a u32 version. A block of
// length 0 means the type's defaults; a version above the highest one its type knows cannot be
// read and the unit is not created.
//
// decode_* returns the defaults for an empty block and nullopt for a block that cannot be read
// (unknown version, cut short, lengths past its end). encode_* writes the newest version.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <tuple>
#include <type_traits>
#include <vector>

#include "runtime/text.hpp"
#include "ui/store/template_store.hpp"

namespace tb::ui {

inline constexpr std::uint32_t kDefaultColour = 0xFF000000u;

// A LOGFONT-shaped font. A face that is empty or 32 bytes or longer means the default face.
struct Font {
    Text face{};  // GBK
    int size_pt = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    int angle = 0;  // tenths of a degree, 0..3599
    friend bool operator==(const Font&, const Font&) = default;
};

// The 60-byte LOGFONT of the stored blocks (height in pixels at 96 dpi, negative for the
// character height; weight 700 and above is bold; 32-byte face).
Blob encode_logfont(const Font& font);
std::optional<Font> decode_logfont(std::span<const std::uint8_t> bytes);  // needs exactly 60 bytes

// A font blob: empty (the default GUI font: nullopt) or 60 bytes.
using FontBlob = std::optional<Font>;

// Each block's field list is written once, in its static visit(): the stored order, the key of
// the window sources ("" none), the widget set's property index (-1 none) and the version a
// field is stored from. The codecs, the template compiler and the widget set's property access
// are visitors over it. A visitor offers, per kind of field:
//   word(u32&, f)  flag(u32&, f)  pick(u32&, high, f)  text(Text&, f)  blob(Blob&, f)  font(FontBlob&, f)
//   words(array<u32, N>&, f)       N words; the property index is the first one's
//   version_words(array&, count)   as many words as count(version) gives
//   word_list(vector<u32>&, f)     a blob of u32s          text_list(vector<Text>&, f)  u16 count, strings
//   inline_font(Font&, f)          a LOGFONT without length  page_table(PageControlBlock&, f)
//   bytes(array<u8, N>&, f)        N raw bytes
struct Field {
    const char* key = "";
    int property = -1;
    std::uint32_t since = 1;
};

struct WindowBlock {
    static constexpr UnitType kType = UnitType::Window;
    static constexpr std::uint32_t kVersion = 6;
    std::array<std::uint32_t, 18> options{};
    Text extra{};        // version 6 string
    Blob background{};   // picture
    Blob icon{};
    Blob sound{};
    Text caption{};
    Text extra2{};
    // Words 1 to 13 always; word 14 from version 2, 15 and 16 from 3, 17 from 4, 18 from 5.
    static constexpr std::size_t option_words(std::uint32_t version) {
        return version >= 5 ? 18 : version >= 4 ? 17 : version >= 3 ? 16 : version >= 2 ? 14 : 13;
    }
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.version_words(b.options, Field{"options"}, &option_words);
        v.text(b.extra, Field{"extra", -1, 6});
        v.blob(b.background, Field{"background"});
        v.blob(b.icon, Field{"icon"});
        v.blob(b.sound, Field{"sound"});
        v.text(b.caption, Field{"caption"});
        v.text(b.extra2, Field{"extra2"});
    }
};

struct TransLabelBlock {
    static constexpr UnitType kType = UnitType::TransLabel;
    static constexpr std::uint32_t kVersion = 1;
    std::uint32_t effect = 0;            // 0..3
    std::uint32_t colour = 0;            // text colour
    std::uint32_t halign = 0;            // 0 left, 1 centre, 2 right
    std::uint32_t valign = 0;            // 0 top, 1 centre, 2 bottom
    std::uint32_t wrap = 0;
    FontBlob font{};
    Text caption{};                        // default: "透明标签" (GBK) when the block is empty
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.pick(b.effect, 3, Field{"effect", 9});
        v.word(b.colour, Field{"colour", 11});
        v.pick(b.halign, 2, Field{"halign", 12});
        v.pick(b.valign, 2, Field{"valign", 14});
        v.flag(b.wrap, Field{"wrap", 13});
        v.font(b.font, Field{"font", 10});
        v.text(b.caption, Field{"caption", 8});
    }
};

struct PicBoxBlock {
    static constexpr UnitType kType = UnitType::PicBox;
    static constexpr std::uint32_t kVersion = 2;
    std::uint32_t border = 0;            // 0..5
    std::uint32_t background = kDefaultColour;
    std::uint32_t display_mode = 0;      // 0..2; 1 scales the picture to the box
    std::uint32_t animate = 0;
    Blob picture{};                        // JPEG, GIF or BMP bytes
    Text data_source{}, data_column{};
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.pick(b.border, 5, Field{"border", 8});
        v.word(b.background, Field{"background", 9});
        v.pick(b.display_mode, 2, Field{"display_mode", 11});
        v.flag(b.animate, Field{"animate", 12});
        v.blob(b.picture, Field{"picture", 10});
        v.text(b.data_source, Field{"data_source", 13, 2});
        v.text(b.data_column, Field{"data_column", 14, 2});
    }
};

struct ComboBoxBlock {
    static constexpr UnitType kType = UnitType::ComboBox;
    static constexpr std::uint32_t kVersion = 3;
    std::array<std::uint32_t, 9> options{};  // options[0] style (2: drop-down list), options[1] background colour
    FontBlob font{};
    std::vector<std::uint32_t> item_data{};
    Text current_text{};
    std::vector<Text> items{};
    Text data_source{}, data_column{};
    std::uint32_t extra = 0;
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.words(b.options, Field{"options"});
        v.font(b.font, Field{"font"});
        v.word_list(b.item_data, Field{"item_data"});
        v.text(b.current_text, Field{"current_text"});
        v.text_list(b.items, Field{"items"});
        v.text(b.data_source, Field{"", -1, 2});
        v.text(b.data_column, Field{"", -1, 2});
        v.word(b.extra, Field{"", -1, 3});
    }
};

// The picture button's fields, by the widget set's property numbers.
struct SuperBtnBlock {
    static constexpr UnitType kType = UnitType::SuperBtn;
    static constexpr std::uint32_t kVersion = 2;
    std::uint32_t style = 0;
    std::uint32_t toggle = 0;
    std::uint32_t checked = 0;
    std::array<std::uint32_t, 4> reserved_words{};  // kept and given back, never acted on
    std::uint32_t transparent0 = kDefaultColour;    // transparent colour of picture0
    std::uint32_t transparent1 = kDefaultColour;    // of picture1
    std::uint32_t reserved_word = 0;
    std::uint32_t builtin_click_sound = 0;
    std::uint32_t reserved_last = 0;
    std::array<std::uint32_t, 6> colours{kDefaultColour, kDefaultColour, kDefaultColour,
                                         kDefaultColour, kDefaultColour, kDefaultColour};
    Blob picture0{};                       // normal
    Blob picture1{};                       // hovered / pressed
    FontBlob font{};
    Blob sound{};
    Blob click_sound{};
    Text caption{};
    Text tooltip{};
    std::uint32_t transparent2 = kDefaultColour;    // of picture2
    Blob picture2{};                       // disabled
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.pick(b.style, 2, Field{"style", 8});
        v.flag(b.toggle, Field{"toggle", 9});
        v.flag(b.checked, Field{"checked", 10});
        v.words(b.reserved_words, Field{"", 11});
        v.word(b.transparent0, Field{"transparent_17", 18});
        v.word(b.transparent1, Field{"transparent_15", 16});
        v.word(b.reserved_word, Field{"", 23});
        v.flag(b.builtin_click_sound, Field{"builtin_click_sound", 30});
        v.word(b.reserved_last, Field{"", 34});
        v.words(b.colours, Field{"colours", 24});
        v.blob(b.picture0, Field{"picture0", 17});
        v.blob(b.picture1, Field{"picture1", 15});
        v.font(b.font, Field{"font", 21});
        v.blob(b.sound, Field{"sound", 31});
        v.blob(b.click_sound, Field{"click_sound", 32});
        v.text(b.caption, Field{"caption", 22});
        v.text(b.tooltip, Field{"tooltip", 33});
        v.word(b.transparent2, Field{"transparent_19", 20, 2});
        v.blob(b.picture2, Field{"picture2", 19, 2});
    }
};

struct PageControlBlock {
    static constexpr UnitType kType = UnitType::PageControl;
    static constexpr std::uint32_t kVersion = 7;
    static constexpr std::size_t kPageOptions = 92;  // per-page option bytes, zero
    std::array<std::uint32_t, 4> options{};
    Font font;                           // 60-byte LOGFONT stored inline
    std::uint32_t table_word = 0;
    std::vector<Text> page_titles{};       // one per page
    std::array<std::uint8_t, 56> tail{};
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.words(b.options, Field{"options"});
        v.inline_font(b.font, Field{"font"});
        v.page_table(b, Field{"pages"});
        v.bytes(b.tail, Field{});
    }
};

// Blocks whose stored layout is ours (same pattern: version, option words, fonts, pictures,
// strings).
struct EditBoxBlock {
    static constexpr UnitType kType = UnitType::EditBox;
    static constexpr std::uint32_t kVersion = 2;
    Text content{};
    std::uint32_t multiline = 0;
    std::uint32_t read_only = 0;
    std::uint32_t password = 0;
    std::uint32_t max_length = 0;        // 0: no limit
    std::uint32_t text_colour = kDefaultColour;
    std::uint32_t background = kDefaultColour;
    std::uint32_t border = 1;
    std::uint32_t halign = 0;
    FontBlob font{};
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.flag(b.multiline, Field{"multiline"});
        v.flag(b.read_only, Field{"read_only"});
        v.flag(b.password, Field{"password"});
        v.word(b.max_length, Field{"max_length"});
        v.word(b.text_colour, Field{"text_colour", 10});
        v.word(b.background, Field{"background", 11});
        v.word(b.border, Field{"border"});
        v.word(b.halign, Field{"halign"});
        v.font(b.font, Field{"font", 12});
        v.text(b.content, Field{"content"});
    }
};

struct GroupBoxBlock {
    static constexpr UnitType kType = UnitType::GroupBox;
    static constexpr std::uint32_t kVersion = 1;
    Text caption{};
    std::uint32_t text_colour = kDefaultColour;
    std::uint32_t background = kDefaultColour;
    FontBlob font{};
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.word(b.text_colour, Field{"text_colour"});
        v.word(b.background, Field{"background"});
        v.font(b.font, Field{"font"});
        v.text(b.caption, Field{"caption"});
    }
};

struct LabelBlock {
    static constexpr UnitType kType = UnitType::Label;
    static constexpr std::uint32_t kVersion = 2;
    Text caption{};
    std::uint32_t text_colour = kDefaultColour;
    std::uint32_t background = kDefaultColour;  // default: transparent over its parent
    std::uint32_t alignment = 0;         // 0 left, 1 centre, 2 right
    std::uint32_t valign = 1;
    std::uint32_t wrap = 0;
    std::uint32_t border = 0;
    FontBlob font{};
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.word(b.text_colour, Field{"text_colour"});
        v.word(b.background, Field{"background"});
        v.pick(b.alignment, 2, Field{"alignment", 24});
        v.word(b.valign, Field{"valign"});
        v.flag(b.wrap, Field{"wrap"});
        v.word(b.border, Field{"border"});
        v.font(b.font, Field{"font", 15});
        v.text(b.caption, Field{"caption", 8});
    }
};

struct ButtonBlock {
    static constexpr UnitType kType = UnitType::Button;
    static constexpr std::uint32_t kVersion = 1;
    Text caption{};
    FontBlob font{};
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.font(b.font, Field{"font"});
        v.text(b.caption, Field{"caption"});
    }
};

struct CheckBoxBlock {
    static constexpr UnitType kType = UnitType::CheckBox;
    static constexpr std::uint32_t kVersion = 2;
    Text caption{};
    std::uint32_t checked = 0;
    std::uint32_t text_colour = kDefaultColour;
    std::uint32_t background = kDefaultColour;
    FontBlob font{};
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.flag(b.checked, Field{"checked"});
        v.word(b.text_colour, Field{"text_colour"});
        v.word(b.background, Field{"background"});
        v.font(b.font, Field{"font"});
        v.text(b.caption, Field{"caption"});
    }
};

struct DrawPanelBlock {
    static constexpr UnitType kType = UnitType::DrawPanel;
    static constexpr std::uint32_t kVersion = 1;
    std::uint32_t background = kDefaultColour;
    Blob picture{};
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.word(b.background, Field{"background"});
        v.blob(b.picture, Field{"picture"});
    }
};

struct RichEditBlock {
    static constexpr UnitType kType = UnitType::RichEdit;
    static constexpr std::uint32_t kVersion = 1;
    Text content{};
    std::uint32_t read_only = 1;
    std::uint32_t text_colour = kDefaultColour;
    std::uint32_t background = kDefaultColour;
    FontBlob font{};
    template <typename Self, typename V> static void visit(Self& b, V& v) {
        v.flag(b.read_only, Field{"read_only"});
        v.word(b.text_colour, Field{"text_colour", 11});
        v.word(b.background, Field{"background"});
        v.font(b.font, Field{"font", 10});
        v.text(b.content, Field{"content"});
    }
};

// Every unit type's block, for code that handles each block by its unit type (with_block).
using UnitBlocks = std::tuple<WindowBlock, TransLabelBlock, PicBoxBlock, ComboBoxBlock, SuperBtnBlock, PageControlBlock,
                              EditBoxBlock, GroupBoxBlock, LabelBlock, ButtonBlock, CheckBoxBlock, DrawPanelBlock, RichEditBlock>;

// What f(std::type_identity<Block>{}) returns for the block the unit type stores; `otherwise`
// for a type with no block.
template <typename R, typename F>
R with_block(UnitType type, F&& f, R otherwise = {}) {
    return [&]<typename... Blocks>(std::type_identity<std::tuple<Blocks...>>) {
        R out = std::move(otherwise);
        (void)((Blocks::kType == type && (out = f(std::type_identity<Blocks>{}), true)) || ...);
        return out;
    }(std::type_identity<UnitBlocks>{});
}

std::optional<WindowBlock> decode_window(std::span<const std::uint8_t> block);
std::optional<TransLabelBlock> decode_translabel(std::span<const std::uint8_t> block);
std::optional<PicBoxBlock> decode_picbox(std::span<const std::uint8_t> block);
std::optional<ComboBoxBlock> decode_combobox(std::span<const std::uint8_t> block);
std::optional<SuperBtnBlock> decode_superbtn(std::span<const std::uint8_t> block);
std::optional<PageControlBlock> decode_pagecontrol(std::span<const std::uint8_t> block);
std::optional<EditBoxBlock> decode_editbox(std::span<const std::uint8_t> block);
std::optional<GroupBoxBlock> decode_groupbox(std::span<const std::uint8_t> block);
std::optional<LabelBlock> decode_label(std::span<const std::uint8_t> block);
std::optional<ButtonBlock> decode_button(std::span<const std::uint8_t> block);
std::optional<CheckBoxBlock> decode_checkbox(std::span<const std::uint8_t> block);
std::optional<DrawPanelBlock> decode_drawpanel(std::span<const std::uint8_t> block);
std::optional<RichEditBlock> decode_richedit(std::span<const std::uint8_t> block);

// The same by block type, for code written once for every block (with_block).
template <typename Block>
std::optional<Block> decode(std::span<const std::uint8_t> block);

Blob encode(const WindowBlock&);
Blob encode(const TransLabelBlock&);
Blob encode(const PicBoxBlock&);
Blob encode(const ComboBoxBlock&);
Blob encode(const SuperBtnBlock&);
Blob encode(const PageControlBlock&);
Blob encode(const EditBoxBlock&);
Blob encode(const GroupBoxBlock&);
Blob encode(const LabelBlock&);
Blob encode(const ButtonBlock&);
Blob encode(const CheckBoxBlock&);
Blob encode(const DrawPanelBlock&);
Blob encode(const RichEditBlock&);

}  // namespace tb::ui

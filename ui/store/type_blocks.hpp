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
#include <vector>

#include "runtime/text.hpp"

namespace tb::ui {

inline constexpr std::uint32_t kDefaultColour = 0xFF000000u;

// A LOGFONT-shaped font. A face that is empty or 32 bytes or longer means the default face.
struct Font {
    Text face;  // GBK
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

struct WindowBlock {  // version 6
    std::array<std::uint32_t, 18> options{};
    Text extra;        // version 6 string
    Blob background;   // picture
    Blob icon;
    Blob sound;
    Text caption;
    Text extra2;
};

struct TransLabelBlock {  // version 1
    std::uint32_t effect = 0;            // 0..3
    std::uint32_t colour = 0;            // text colour
    std::uint32_t halign = 0;            // 0 left, 1 centre, 2 right
    std::uint32_t valign = 0;            // 0 top, 1 centre, 2 bottom
    std::uint32_t wrap = 0;
    FontBlob font;
    Text caption;                        // default: "透明标签" (GBK) when the block is empty
};

struct PicBoxBlock {  // version 2
    std::uint32_t border = 0;            // 0..5
    std::uint32_t background = kDefaultColour;
    std::uint32_t display_mode = 0;      // 0..2; 1 scales the picture to the box
    std::uint32_t animate = 0;
    Blob picture;                        // JPEG, GIF or BMP bytes
    Text data_source, data_column;
};

struct ComboBoxBlock {  // version 3
    std::array<std::uint32_t, 9> options{};  // options[0] style (2: drop-down list), options[1] background colour
    FontBlob font;
    std::vector<std::uint32_t> item_data;
    Text current_text;
    std::vector<Text> items;
    Text data_source, data_column;
    std::uint32_t extra = 0;
};

struct SuperBtnBlock {  // version 2; fields by the widget set's property numbers
    std::uint32_t style = 0;             // 8
    std::uint32_t toggle = 0;            // 9
    std::uint32_t checked = 0;           // 10
    std::array<std::uint32_t, 4> p11_14{};
    std::uint32_t transparent_17 = kDefaultColour;  // 18
    std::uint32_t transparent_15 = kDefaultColour;  // 16
    std::uint32_t p23 = 0;
    std::uint32_t builtin_click_sound = 0;  // 30
    std::uint32_t p34 = 0;
    std::array<std::uint32_t, 6> colours{kDefaultColour, kDefaultColour, kDefaultColour,
                                         kDefaultColour, kDefaultColour, kDefaultColour};  // 24..29
    Blob picture0;                       // 17: normal
    Blob picture1;                       // 15: hovered / pressed
    FontBlob font;                       // 21
    Blob sound;                          // 31
    Blob click_sound;                    // 32
    Text caption;                        // 22
    Text tooltip;                        // 33
    std::uint32_t transparent_19 = kDefaultColour;  // 20
    Blob picture2;                       // 19
};

struct PageControlBlock {  // version 7
    std::array<std::uint32_t, 4> options{};
    Font font;                           // 60-byte LOGFONT stored inline
    std::uint32_t table_word = 0;
    std::vector<Text> page_titles;       // one per page; 92 bytes of per-page options each, zero
    std::array<std::uint8_t, 56> tail{};
};

// Blocks whose stored layout is ours (same pattern: version, option words, fonts, pictures,
// strings).
struct EditBoxBlock {  // version 2
    Text content;
    std::uint32_t multiline = 0;
    std::uint32_t read_only = 0;
    std::uint32_t password = 0;
    std::uint32_t max_length = 0;        // 0: no limit
    std::uint32_t text_colour = kDefaultColour;
    std::uint32_t background = kDefaultColour;
    std::uint32_t border = 1;
    std::uint32_t halign = 0;
    FontBlob font;
};

struct GroupBoxBlock {  // version 1
    Text caption;
    std::uint32_t text_colour = kDefaultColour;
    std::uint32_t background = kDefaultColour;
    FontBlob font;
};

struct LabelBlock {  // version 2
    Text caption;
    std::uint32_t text_colour = kDefaultColour;
    std::uint32_t background = kDefaultColour;  // default: transparent over its parent
    std::uint32_t alignment = 0;         // property 24: 0 left, 1 centre, 2 right
    std::uint32_t valign = 1;
    std::uint32_t wrap = 0;
    std::uint32_t border = 0;
    FontBlob font;                       // property 15
};

struct ButtonBlock {  // version 1
    Text caption;
    FontBlob font;
};

struct CheckBoxBlock {  // version 2
    Text caption;
    std::uint32_t checked = 0;
    std::uint32_t text_colour = kDefaultColour;
    std::uint32_t background = kDefaultColour;
    FontBlob font;
};

struct DrawPanelBlock {  // version 1
    std::uint32_t background = kDefaultColour;
    Blob picture;
};

struct RichEditBlock {  // version 1
    Text content;
    std::uint32_t read_only = 1;
    std::uint32_t text_colour = kDefaultColour;
    std::uint32_t background = kDefaultColour;
    FontBlob font;
};

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

// Codecs of the type-specific blocks. Every decoder reads through a bounds-checked reader and
// refuses the whole block when any field runs past its end.
#include "ui/store/type_blocks.hpp"

#include <cmath>
#include <cstdlib>

#include "runtime/bytes.hpp"

namespace tb::ui {
namespace {

using bytes::Reader;
using namespace bytes;

constexpr std::size_t kLogfontSize = 60;
constexpr std::size_t kFaceSize = 32;
constexpr std::uint8_t kCharsetGb2312 = 134;
constexpr int kDefaultSizePt = 9;

namespace version {
constexpr std::uint32_t kWindow = 6;
constexpr std::uint32_t kEditBox = 2;
constexpr std::uint32_t kPicBox = 2;
constexpr std::uint32_t kGroupBox = 1;
constexpr std::uint32_t kLabel = 2;
constexpr std::uint32_t kButton = 1;
constexpr std::uint32_t kCheckBox = 2;
constexpr std::uint32_t kComboBox = 3;
constexpr std::uint32_t kDrawPanel = 1;
constexpr std::uint32_t kTransLabel = 1;
constexpr std::uint32_t kSuperBtn = 2;
constexpr std::uint32_t kRichEdit = 1;
constexpr std::uint32_t kPageControl = 7;
}  // namespace version

// Reads a font blob: empty is the default GUI font, 60 bytes a LOGFONT, anything else fails.
FontBlob read_font(Reader& r) {
    auto b = r.blob_view();
    if (b.empty()) return std::nullopt;
    auto f = decode_logfont(b);
    if (!f) r.fail();
    return f;
}

void put_font(Blob& out, const FontBlob& f) {
    if (!f) {
        put_u32(out, 0);
        return;
    }
    put_blob(out, encode_logfont(*f));
}

// Reads the version word of a non-empty block; nullopt when it is above what the type knows.
std::optional<std::uint32_t> read_version(Reader& r, std::uint32_t known) {
    std::uint32_t v = r.u32();
    if (!r.ok() || v > known) return std::nullopt;
    return v;
}

template <typename T>
std::optional<T> finish(const Reader& r, T&& value) {
    if (!r.ok()) return std::nullopt;
    return std::move(value);
}

int normalise_angle(long long a) { return static_cast<int>(((a % 3600) + 3600) % 3600); }

}  // namespace

// ---- LOGFONT ---------------------------------------------------------------------------------

Blob encode_logfont(const Font& font) {
    Blob out;
    out.reserve(kLogfontSize);
    long long height = -std::llround(static_cast<double>(font.size_pt) * 96.0 / 72.0);
    put_i32(out, static_cast<std::int32_t>(height));
    put_i32(out, 0);  // width: the face's own
    int angle = normalise_angle(font.angle);
    put_i32(out, angle);  // escapement
    put_i32(out, angle);  // orientation
    put_i32(out, font.bold ? 700 : 400);
    put_u8(out, font.italic ? 1 : 0);
    put_u8(out, font.underline ? 1 : 0);
    put_u8(out, font.strike_out ? 1 : 0);
    put_u8(out, kCharsetGb2312);
    put_zeros(out, 4);  // output and clip precision, quality, pitch and family: defaults
    Text face = font.face.size() < kFaceSize ? font.face : Text();
    face = face.substr(0, face.find('\0'));
    put_bytes(out, face);
    put_zeros(out, kFaceSize - face.size());
    return out;
}

std::optional<Font> decode_logfont(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kLogfontSize) return std::nullopt;
    Reader r(bytes);
    Font f;
    long long height = r.i32();
    r.i32();  // width
    long long escapement = r.i32();
    r.i32();  // orientation
    std::int32_t weight = r.i32();
    f.italic = r.u8() != 0;
    f.underline = r.u8() != 0;
    f.strike_out = r.u8() != 0;
    r.u8();    // character set
    r.skip(4);  // precision bytes
    auto face = r.take(kFaceSize);
    if (!r.ok()) return std::nullopt;
    long long pixels = height < 0 ? -height : height;
    f.size_pt = pixels == 0 ? kDefaultSizePt : static_cast<int>(std::llround(static_cast<double>(pixels) * 72.0 / 96.0));
    f.bold = weight >= 700;
    f.angle = normalise_angle(escapement);
    std::size_t len = 0;
    while (len < face.size() && face[len] != 0) ++len;
    if (len < kFaceSize) f.face.assign(reinterpret_cast<const char*>(face.data()), len);  // 32 bytes, no NUL: default
    return f;
}

// ---- window ----------------------------------------------------------------------------------

std::optional<WindowBlock> decode_window(std::span<const std::uint8_t> block) {
    WindowBlock b;
    if (block.empty()) return b;
    Reader r(block);
    auto v = read_version(r, version::kWindow);
    if (!v) return std::nullopt;
    // Words 1 to 13 always; word 14 from version 2, 15 and 16 from 3, 17 from 4, 18 from 5.
    std::size_t words = 13;
    if (*v >= 2) words = 14;
    if (*v >= 3) words = 16;
    if (*v >= 4) words = 17;
    if (*v >= 5) words = 18;
    for (std::size_t i = 0; i < words; ++i) b.options[i] = r.u32();
    if (*v >= 6) b.extra = r.string();
    b.background = r.blob();
    b.icon = r.blob();
    b.sound = r.blob();
    b.caption = r.string();
    b.extra2 = r.string();
    return finish(r, std::move(b));
}

Blob encode(const WindowBlock& b) {
    Blob out;
    put_u32(out, version::kWindow);
    for (std::uint32_t w : b.options) put_u32(out, w);
    put_string(out, b.extra);
    put_blob(out, b.background);
    put_blob(out, b.icon);
    put_blob(out, b.sound);
    put_string(out, b.caption);
    put_string(out, b.extra2);
    return out;
}

// ---- TransLabel ------------------------------------------------------------------------------

std::optional<TransLabelBlock> decode_translabel(std::span<const std::uint8_t> block) {
    TransLabelBlock b;
    if (block.empty()) {
        b.caption = gbk("透明标签");
        return b;
    }
    Reader r(block);
    if (!read_version(r, version::kTransLabel)) return std::nullopt;
    b.effect = r.u32();
    b.colour = r.u32();
    b.halign = r.u32();
    b.valign = r.u32();
    b.wrap = r.u32();
    b.font = read_font(r);
    b.caption = r.string();
    return finish(r, std::move(b));
}

Blob encode(const TransLabelBlock& b) {
    Blob out;
    put_u32(out, version::kTransLabel);
    put_u32(out, b.effect);
    put_u32(out, b.colour);
    put_u32(out, b.halign);
    put_u32(out, b.valign);
    put_u32(out, b.wrap);
    put_font(out, b.font);
    put_string(out, b.caption);
    return out;
}

// ---- PicBox ----------------------------------------------------------------------------------

std::optional<PicBoxBlock> decode_picbox(std::span<const std::uint8_t> block) {
    PicBoxBlock b;
    if (block.empty()) return b;
    Reader r(block);
    auto v = read_version(r, version::kPicBox);
    if (!v) return std::nullopt;
    b.border = r.u32();
    b.background = r.u32();
    b.display_mode = r.u32();
    b.animate = r.u32();
    b.picture = r.blob();
    if (*v >= 2) {
        b.data_source = r.string();
        b.data_column = r.string();
    }
    return finish(r, std::move(b));
}

Blob encode(const PicBoxBlock& b) {
    Blob out;
    out.reserve(40 + b.picture.size());
    put_u32(out, version::kPicBox);
    put_u32(out, b.border);
    put_u32(out, b.background);
    put_u32(out, b.display_mode);
    put_u32(out, b.animate);
    put_blob(out, b.picture);
    put_string(out, b.data_source);
    put_string(out, b.data_column);
    return out;
}

// ---- ComboBox --------------------------------------------------------------------------------

std::optional<ComboBoxBlock> decode_combobox(std::span<const std::uint8_t> block) {
    ComboBoxBlock b;
    if (block.empty()) return b;
    Reader r(block);
    auto v = read_version(r, version::kComboBox);
    if (!v) return std::nullopt;
    for (auto& w : b.options) w = r.u32();
    b.font = read_font(r);
    auto data = r.blob_view();
    if (data.size() % 4 != 0) return std::nullopt;
    Reader dr(data);
    b.item_data.reserve(data.size() / 4);
    for (std::size_t i = 0; i < data.size() / 4; ++i) b.item_data.push_back(dr.u32());
    b.current_text = r.string();
    std::uint16_t count = r.u16();
    if (!r.ok() || count > r.remaining() / 4) return std::nullopt;
    b.items.reserve(count);
    for (std::uint16_t i = 0; i < count && r.ok(); ++i) b.items.push_back(r.string());
    if (*v >= 2) {
        b.data_source = r.string();
        b.data_column = r.string();
    }
    if (*v >= 3) b.extra = r.u32();
    return finish(r, std::move(b));
}

Blob encode(const ComboBoxBlock& b) {
    Blob out;
    put_u32(out, version::kComboBox);
    for (std::uint32_t w : b.options) put_u32(out, w);
    put_font(out, b.font);
    put_u32(out, static_cast<std::uint32_t>(b.item_data.size() * 4));
    for (std::uint32_t d : b.item_data) put_u32(out, d);
    put_string(out, b.current_text);
    put_u16(out, static_cast<std::uint16_t>(b.items.size()));
    for (std::size_t i = 0; i < b.items.size() && i < 0xFFFF; ++i) put_string(out, b.items[i]);
    put_string(out, b.data_source);
    put_string(out, b.data_column);
    put_u32(out, b.extra);
    return out;
}

// ---- SuperBtn --------------------------------------------------------------------------------

std::optional<SuperBtnBlock> decode_superbtn(std::span<const std::uint8_t> block) {
    SuperBtnBlock b;
    if (block.empty()) return b;
    Reader r(block);
    auto v = read_version(r, version::kSuperBtn);
    if (!v) return std::nullopt;
    b.style = r.u32();
    b.toggle = r.u32();
    b.checked = r.u32();
    for (auto& w : b.p11_14) w = r.u32();
    b.transparent_17 = r.u32();
    b.transparent_15 = r.u32();
    b.p23 = r.u32();
    b.builtin_click_sound = r.u32();
    b.p34 = r.u32();
    for (auto& c : b.colours) c = r.u32();
    b.picture0 = r.blob();
    b.picture1 = r.blob();
    b.font = read_font(r);
    b.sound = r.blob();
    b.click_sound = r.blob();
    b.caption = r.string();
    b.tooltip = r.string();
    if (*v >= 2) {
        b.transparent_19 = r.u32();
        b.picture2 = r.blob();
    }
    return finish(r, std::move(b));
}

Blob encode(const SuperBtnBlock& b) {
    Blob out;
    out.reserve(128 + b.picture0.size() + b.picture1.size() + b.picture2.size());
    put_u32(out, version::kSuperBtn);
    put_u32(out, b.style);
    put_u32(out, b.toggle);
    put_u32(out, b.checked);
    for (std::uint32_t w : b.p11_14) put_u32(out, w);
    put_u32(out, b.transparent_17);
    put_u32(out, b.transparent_15);
    put_u32(out, b.p23);
    put_u32(out, b.builtin_click_sound);
    put_u32(out, b.p34);
    for (std::uint32_t c : b.colours) put_u32(out, c);
    put_blob(out, b.picture0);
    put_blob(out, b.picture1);
    put_font(out, b.font);
    put_blob(out, b.sound);
    put_blob(out, b.click_sound);
    put_string(out, b.caption);
    put_string(out, b.tooltip);
    put_u32(out, b.transparent_19);
    put_blob(out, b.picture2);
    return out;
}

// ---- PageControl -----------------------------------------------------------------------------

namespace {
constexpr std::size_t kPageOptions = 92;
constexpr std::size_t kPageControlTail = 56;
}  // namespace

std::optional<PageControlBlock> decode_pagecontrol(std::span<const std::uint8_t> block) {
    PageControlBlock b;
    if (block.empty()) return b;
    Reader r(block);
    if (!read_version(r, version::kPageControl)) return std::nullopt;
    for (auto& w : b.options) w = r.u32();
    auto font = decode_logfont(r.take(kLogfontSize));
    if (!r.ok() || !font) return std::nullopt;
    b.font = *font;
    Reader table(r.blob_view());
    b.table_word = table.u32();
    std::uint32_t pages = table.u32();
    if (!table.ok() || pages > table.remaining() / (4 + kPageOptions)) return std::nullopt;
    b.page_titles.reserve(pages);
    for (std::uint32_t i = 0; i < pages && table.ok(); ++i) {
        b.page_titles.push_back(table.string());
        table.skip(kPageOptions);
    }
    if (!table.ok()) return std::nullopt;
    auto tail = r.take(kPageControlTail);
    if (!r.ok()) return std::nullopt;
    std::copy(tail.begin(), tail.end(), b.tail.begin());
    return b;
}

Blob encode(const PageControlBlock& b) {
    Blob table;
    put_u32(table, b.table_word);
    put_u32(table, static_cast<std::uint32_t>(b.page_titles.size()));
    for (const Text& t : b.page_titles) {
        put_string(table, t);
        put_zeros(table, kPageOptions);
    }
    Blob out;
    put_u32(out, version::kPageControl);
    for (std::uint32_t w : b.options) put_u32(out, w);
    put_bytes(out, encode_logfont(b.font));
    put_blob(out, table);
    put_bytes(out, b.tail);
    return out;
}

// ---- Our own layouts: version, option words, font, pictures, strings -----------------------

std::optional<EditBoxBlock> decode_editbox(std::span<const std::uint8_t> block) {
    EditBoxBlock b;
    if (block.empty()) return b;
    Reader r(block);
    if (!read_version(r, version::kEditBox)) return std::nullopt;
    b.multiline = r.u32();
    b.read_only = r.u32();
    b.password = r.u32();
    b.max_length = r.u32();
    b.text_colour = r.u32();
    b.background = r.u32();
    b.border = r.u32();
    b.halign = r.u32();
    b.font = read_font(r);
    b.content = r.string();
    return finish(r, std::move(b));
}

Blob encode(const EditBoxBlock& b) {
    Blob out;
    put_u32(out, version::kEditBox);
    put_u32(out, b.multiline);
    put_u32(out, b.read_only);
    put_u32(out, b.password);
    put_u32(out, b.max_length);
    put_u32(out, b.text_colour);
    put_u32(out, b.background);
    put_u32(out, b.border);
    put_u32(out, b.halign);
    put_font(out, b.font);
    put_string(out, b.content);
    return out;
}

std::optional<GroupBoxBlock> decode_groupbox(std::span<const std::uint8_t> block) {
    GroupBoxBlock b;
    if (block.empty()) return b;
    Reader r(block);
    if (!read_version(r, version::kGroupBox)) return std::nullopt;
    b.text_colour = r.u32();
    b.background = r.u32();
    b.font = read_font(r);
    b.caption = r.string();
    return finish(r, std::move(b));
}

Blob encode(const GroupBoxBlock& b) {
    Blob out;
    put_u32(out, version::kGroupBox);
    put_u32(out, b.text_colour);
    put_u32(out, b.background);
    put_font(out, b.font);
    put_string(out, b.caption);
    return out;
}

std::optional<LabelBlock> decode_label(std::span<const std::uint8_t> block) {
    LabelBlock b;
    if (block.empty()) return b;
    Reader r(block);
    if (!read_version(r, version::kLabel)) return std::nullopt;
    b.text_colour = r.u32();
    b.background = r.u32();
    b.alignment = r.u32();
    b.valign = r.u32();
    b.wrap = r.u32();
    b.border = r.u32();
    b.font = read_font(r);
    b.caption = r.string();
    return finish(r, std::move(b));
}

Blob encode(const LabelBlock& b) {
    Blob out;
    put_u32(out, version::kLabel);
    put_u32(out, b.text_colour);
    put_u32(out, b.background);
    put_u32(out, b.alignment);
    put_u32(out, b.valign);
    put_u32(out, b.wrap);
    put_u32(out, b.border);
    put_font(out, b.font);
    put_string(out, b.caption);
    return out;
}

std::optional<ButtonBlock> decode_button(std::span<const std::uint8_t> block) {
    ButtonBlock b;
    if (block.empty()) return b;
    Reader r(block);
    if (!read_version(r, version::kButton)) return std::nullopt;
    b.font = read_font(r);
    b.caption = r.string();
    return finish(r, std::move(b));
}

Blob encode(const ButtonBlock& b) {
    Blob out;
    put_u32(out, version::kButton);
    put_font(out, b.font);
    put_string(out, b.caption);
    return out;
}

std::optional<CheckBoxBlock> decode_checkbox(std::span<const std::uint8_t> block) {
    CheckBoxBlock b;
    if (block.empty()) return b;
    Reader r(block);
    if (!read_version(r, version::kCheckBox)) return std::nullopt;
    b.checked = r.u32();
    b.text_colour = r.u32();
    b.background = r.u32();
    b.font = read_font(r);
    b.caption = r.string();
    return finish(r, std::move(b));
}

Blob encode(const CheckBoxBlock& b) {
    Blob out;
    put_u32(out, version::kCheckBox);
    put_u32(out, b.checked);
    put_u32(out, b.text_colour);
    put_u32(out, b.background);
    put_font(out, b.font);
    put_string(out, b.caption);
    return out;
}

std::optional<DrawPanelBlock> decode_drawpanel(std::span<const std::uint8_t> block) {
    DrawPanelBlock b;
    if (block.empty()) return b;
    Reader r(block);
    if (!read_version(r, version::kDrawPanel)) return std::nullopt;
    b.background = r.u32();
    b.picture = r.blob();
    return finish(r, std::move(b));
}

Blob encode(const DrawPanelBlock& b) {
    Blob out;
    put_u32(out, version::kDrawPanel);
    put_u32(out, b.background);
    put_blob(out, b.picture);
    return out;
}

std::optional<RichEditBlock> decode_richedit(std::span<const std::uint8_t> block) {
    RichEditBlock b;
    if (block.empty()) return b;
    Reader r(block);
    if (!read_version(r, version::kRichEdit)) return std::nullopt;
    b.read_only = r.u32();
    b.text_colour = r.u32();
    b.background = r.u32();
    b.font = read_font(r);
    b.content = r.string();
    return finish(r, std::move(b));
}

Blob encode(const RichEditBlock& b) {
    Blob out;
    put_u32(out, version::kRichEdit);
    put_u32(out, b.read_only);
    put_u32(out, b.text_colour);
    put_u32(out, b.background);
    put_font(out, b.font);
    put_string(out, b.content);
    return out;
}

}  // namespace tb::ui

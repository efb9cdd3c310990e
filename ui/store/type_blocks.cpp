// Codecs of the type-specific blocks. Every decoder reads through a bounds-checked reader and
// refuses the whole block when any field runs past its end.
#include "ui/store/type_blocks.hpp"

#include <algorithm>
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

// ---- The blocks, from their field lists ----------------------------------------------------

namespace {

// Reads the fields of a block of version `version` in their stored order.
class Decoder {
public:
    Decoder(Reader& r, std::uint32_t version) : r_(r), version_(version) {}
    void word(std::uint32_t& v, Field f) {
        if (stored(f)) v = r_.u32();
    }
    void flag(std::uint32_t& v, Field f) { word(v, f); }
    void pick(std::uint32_t& v, std::uint32_t, Field f) { word(v, f); }
    void text(Text& v, Field f) {
        if (stored(f)) v = r_.string();
    }
    void blob(Blob& v, Field f) {
        if (stored(f)) v = r_.blob();
    }
    void font(FontBlob& v, Field f) {
        if (stored(f)) v = read_font(r_);
    }
    template <std::size_t N> void words(std::array<std::uint32_t, N>& v, Field f) {
        if (stored(f))
            for (auto& w : v) w = r_.u32();
    }
    template <std::size_t N> void version_words(std::array<std::uint32_t, N>& v, Field f, std::size_t (*count)(std::uint32_t)) {
        if (!stored(f)) return;
        std::size_t n = std::min(count(version_), N);
        for (std::size_t i = 0; i < n; ++i) v[i] = r_.u32();
    }
    void word_list(std::vector<std::uint32_t>& v, Field f) {
        if (!stored(f)) return;
        auto data = r_.blob_view();
        if (data.size() % 4 != 0) return r_.fail();
        Reader dr(data);
        v.reserve(data.size() / 4);
        for (std::size_t i = 0; i < data.size() / 4; ++i) v.push_back(dr.u32());
    }
    void text_list(std::vector<Text>& v, Field f) {
        if (!stored(f)) return;
        std::uint16_t count = r_.u16();
        if (!r_.ok() || count > r_.remaining() / 4) return r_.fail();
        v.reserve(count);
        for (std::uint16_t i = 0; i < count && r_.ok(); ++i) v.push_back(r_.string());
    }
    void inline_font(Font& v, Field f) {
        if (!stored(f)) return;
        auto font = decode_logfont(r_.take(kLogfontSize));
        if (!font) return r_.fail();
        v = *font;
    }
    void page_table(PageControlBlock& b, Field f) {
        if (!stored(f)) return;
        Reader table(r_.blob_view());
        b.table_word = table.u32();
        std::uint32_t pages = table.u32();
        if (!table.ok() || pages > table.remaining() / (4 + PageControlBlock::kPageOptions)) return r_.fail();
        b.page_titles.reserve(pages);
        for (std::uint32_t i = 0; i < pages && table.ok(); ++i) {
            b.page_titles.push_back(table.string());
            table.skip(PageControlBlock::kPageOptions);
        }
        if (!table.ok()) r_.fail();
    }
    template <std::size_t N> void bytes(std::array<std::uint8_t, N>& v, Field f) {
        if (!stored(f)) return;
        auto b = r_.take(N);
        if (r_.ok()) std::copy(b.begin(), b.end(), v.begin());
    }

private:
    bool stored(Field f) const { return version_ >= f.since && r_.ok(); }
    Reader& r_;
    std::uint32_t version_;
};

// Writes the fields of the newest version.
class Encoder {
public:
    explicit Encoder(Blob& out) : out_(out) {}
    void word(std::uint32_t v, Field) { put_u32(out_, v); }
    void flag(std::uint32_t v, Field) { put_u32(out_, v); }
    void pick(std::uint32_t v, std::uint32_t, Field) { put_u32(out_, v); }
    void text(const Text& v, Field) { put_string(out_, v); }
    void blob(const Blob& v, Field) { put_blob(out_, v); }
    void font(const FontBlob& v, Field) { put_font(out_, v); }
    template <std::size_t N> void words(const std::array<std::uint32_t, N>& v, Field) {
        for (std::uint32_t w : v) put_u32(out_, w);
    }
    template <std::size_t N> void version_words(const std::array<std::uint32_t, N>& v, Field f, std::size_t (*)(std::uint32_t)) {
        words(v, f);
    }
    void word_list(const std::vector<std::uint32_t>& v, Field) {
        put_u32(out_, static_cast<std::uint32_t>(v.size() * 4));
        for (std::uint32_t d : v) put_u32(out_, d);
    }
    void text_list(const std::vector<Text>& v, Field) {
        put_u16(out_, static_cast<std::uint16_t>(v.size()));
        for (std::size_t i = 0; i < v.size() && i < 0xFFFF; ++i) put_string(out_, v[i]);
    }
    void inline_font(const Font& v, Field) { put_bytes(out_, encode_logfont(v)); }
    void page_table(const PageControlBlock& b, Field) {
        Blob table;
        put_u32(table, b.table_word);
        put_u32(table, static_cast<std::uint32_t>(b.page_titles.size()));
        for (const Text& t : b.page_titles) {
            put_string(table, t);
            put_zeros(table, PageControlBlock::kPageOptions);
        }
        put_blob(out_, table);
    }
    template <std::size_t N> void bytes(const std::array<std::uint8_t, N>& v, Field) { put_bytes(out_, v); }

private:
    Blob& out_;
};

template <typename T>
T empty_block() {
    return T{};
}
template <>
TransLabelBlock empty_block<TransLabelBlock>() {
    TransLabelBlock b;
    b.caption = gbk("透明标签");
    return b;
}

}  // namespace

template <typename T>
std::optional<T> decode(std::span<const std::uint8_t> block) {
    T b = empty_block<T>();
    if (block.empty()) return b;
    Reader r(block);
    auto v = read_version(r, T::kVersion);
    if (!v) return std::nullopt;
    Decoder d(r, *v);
    T::visit(b, d);
    return finish(r, std::move(b));
}

namespace {

template <typename T>
Blob encode_block(const T& b) {
    Blob out;
    put_u32(out, T::kVersion);
    Encoder e(out);
    T::visit(b, e);
    return out;
}

}  // namespace

#define TB_BLOCK_CODEC(Type, name)                                                                     \
    template std::optional<Type> decode<Type>(std::span<const std::uint8_t>);                        \
    std::optional<Type> decode_##name(std::span<const std::uint8_t> block) { return decode<Type>(block); } \
    Blob encode(const Type& b) { return encode_block(b); }
TB_BLOCK_CODEC(WindowBlock, window)
TB_BLOCK_CODEC(TransLabelBlock, translabel)
TB_BLOCK_CODEC(PicBoxBlock, picbox)
TB_BLOCK_CODEC(ComboBoxBlock, combobox)
TB_BLOCK_CODEC(SuperBtnBlock, superbtn)
TB_BLOCK_CODEC(PageControlBlock, pagecontrol)
TB_BLOCK_CODEC(EditBoxBlock, editbox)
TB_BLOCK_CODEC(GroupBoxBlock, groupbox)
TB_BLOCK_CODEC(LabelBlock, label)
TB_BLOCK_CODEC(ButtonBlock, button)
TB_BLOCK_CODEC(CheckBoxBlock, checkbox)
TB_BLOCK_CODEC(DrawPanelBlock, drawpanel)
TB_BLOCK_CODEC(RichEditBlock, richedit)
#undef TB_BLOCK_CODEC

}  // namespace tb::ui

// The type-block codecs: byte layouts, defaults of empty blocks, refusal of newer versions and
// of blocks cut short.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "runtime/text.hpp"
#include "runtime/bytes.hpp"
#include "ui/store/type_blocks.hpp"

using namespace tb;
using namespace tb::ui;

namespace {

Font song15() {
    Font f;
    f.face = gbk("宋体");
    f.size_pt = 15;
    f.bold = true;
    f.underline = true;
    f.angle = 900;
    return f;
}

std::uint32_t u32_at(const Blob& b, std::size_t at) { return bytes::Reader(std::span(b).subspan(at, 4)).u32(); }

Blob with_version(Blob b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    return b;
}

// Every strict prefix of a block (but the empty one, which means the defaults) is refused, and
// a version one above the newest is refused.
template <typename Decode>
void expect_refusals(const Blob& block, Decode decode) {
    for (std::size_t n = 1; n < block.size(); ++n)
        EXPECT_FALSE(decode(std::span(block.data(), n))) << "cut at " << n << " of " << block.size();
    EXPECT_FALSE(decode(with_version(block, u32_at(block, 0) + 1)));
    EXPECT_FALSE(decode(with_version(block, 0xFFFFFFFF)));
}

// A block's fields in the order its visit() lists them, each with its value, so that a block
// read back can be held against the one written, field by field.
using FieldValue = std::variant<std::uint32_t, Text, Blob, FontBlob, std::vector<std::uint32_t>, std::vector<Text>>;
using FieldList = std::vector<std::pair<std::string, FieldValue>>;

class FieldLister {
public:
    FieldList fields;
    void word(std::uint32_t v, Field f) { add(f, v); }
    void flag(std::uint32_t v, Field f) { add(f, v); }
    void pick(std::uint32_t v, std::uint32_t, Field f) { add(f, v); }
    void text(const Text& v, Field f) { add(f, v); }
    void blob(const Blob& v, Field f) { add(f, v); }
    void font(const FontBlob& v, Field f) { add(f, v); }
    void inline_font(const Font& v, Field f) { add(f, FontBlob(v)); }
    template <std::size_t N> void words(const std::array<std::uint32_t, N>& v, Field f) {
        add(f, std::vector<std::uint32_t>(v.begin(), v.end()));
    }
    template <std::size_t N> void version_words(const std::array<std::uint32_t, N>& v, Field f, std::size_t (*)(std::uint32_t)) {
        words(v, f);
    }
    void word_list(const std::vector<std::uint32_t>& v, Field f) { add(f, v); }
    void text_list(const std::vector<Text>& v, Field f) { add(f, v); }
    void page_table(const PageControlBlock& b, Field f) {
        add(f, b.table_word);
        add(f, b.page_titles);
    }
    template <std::size_t N> void bytes(const std::array<std::uint8_t, N>& v, Field f) { add(f, Blob(v.begin(), v.end())); }

private:
    void add(Field f, FieldValue v) { fields.emplace_back(f.key, std::move(v)); }
};

template <typename Block>
FieldList fields_of(const Block& b) {
    FieldLister lister;
    Block::visit(b, lister);
    return lister.fields;
}

// A block read back from its bytes holds every field it was written with; returns it.
template <typename Block, typename Decode>
std::optional<Block> expect_read_back(const Blob& bytes, const Block& written, Decode decode) {
    std::optional<Block> d = decode(bytes);
    EXPECT_TRUE(d);
    if (d) { EXPECT_EQ(fields_of(*d), fields_of(written)); }
    return d;
}

}  // namespace

TEST(StoreLogfont, SixtyBytesInTheStoredShape) {
    Blob b = encode_logfont(song15());
    ASSERT_EQ(b.size(), 60u);
    EXPECT_EQ(static_cast<std::int32_t>(u32_at(b, 0)), -20);  // 15 pt at 96 dpi
    EXPECT_EQ(u32_at(b, 8), 900u);                            // escapement = angle
    EXPECT_EQ(u32_at(b, 16), 700u);
    EXPECT_EQ(b[20], 0);   // italic
    EXPECT_EQ(b[21], 1);   // underline
    EXPECT_EQ(b[23], 134);  // GB2312
    EXPECT_EQ(Text(reinterpret_cast<const char*>(&b[28]), 4), gbk("宋体"));
    EXPECT_EQ(b[32], 0);
    EXPECT_EQ(decode_logfont(b), song15());

    for (int pt : {6, 9, 10, 11, 12, 14, 15, 22, 36, 72}) {
        Font f;
        f.size_pt = pt;
        EXPECT_EQ(decode_logfont(encode_logfont(f))->size_pt, pt);
    }
    EXPECT_FALSE(decode_logfont(std::span(b.data(), 59)));

    // A face filling all 32 bytes has no end: the default face. Bold from weight 700 up.
    Blob full = b;
    std::fill(full.begin() + 28, full.end(), 'A');
    full[16] = 0x84;  // weight 900
    full[17] = 0x03;
    auto f = decode_logfont(full);
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->face.empty());
    EXPECT_TRUE(f->bold);
    Font longface;
    longface.face = Text(32, 'x');
    EXPECT_TRUE(decode_logfont(encode_logfont(longface))->face.empty());
    // Extreme heights and angles stay in range.
    Blob extreme = b;
    extreme[0] = 0; extreme[1] = 0; extreme[2] = 0; extreme[3] = 0x80;  // INT_MIN
    extreme[8] = 0xFF; extreme[9] = 0xFF; extreme[10] = 0xFF; extreme[11] = 0xFF;  // -1
    auto e = decode_logfont(extreme);
    ASSERT_TRUE(e);
    EXPECT_GT(e->size_pt, 0);
    EXPECT_EQ(e->angle, 3599);
}

TEST(StoreBlocks, EmptyBlocksGiveTheDefaults) {
    auto t = decode_translabel({});
    ASSERT_TRUE(t);
    EXPECT_EQ(t->caption, gbk("透明标签"));
    EXPECT_EQ(t->colour, 0u);
    EXPECT_EQ(t->halign, 0u);
    EXPECT_EQ(t->valign, 0u);
    EXPECT_EQ(t->effect, 0u);
    EXPECT_EQ(t->wrap, 0u);
    EXPECT_FALSE(t->font);
    EXPECT_EQ(decode_editbox({})->border, 1u);
    EXPECT_EQ(decode_editbox({})->text_colour, kDefaultColour);
    EXPECT_TRUE(decode_checkbox({})->caption.empty());
    EXPECT_TRUE(decode_groupbox({}));
    EXPECT_TRUE(decode_button({}));
    EXPECT_EQ(decode_picbox({})->background, kDefaultColour);
    EXPECT_TRUE(decode_window({}));
    EXPECT_TRUE(decode_pagecontrol({})->page_titles.empty());
    EXPECT_TRUE(decode_superbtn({}));
    EXPECT_TRUE(decode_combobox({}));
    EXPECT_TRUE(decode_label({}));
    EXPECT_TRUE(decode_drawpanel({}));
    EXPECT_EQ(decode_richedit({})->read_only, 1u);
}

TEST(StoreBlocks, TransLabelAndPicBoxLayouts) {
    const TransLabelBlock t{.effect = 3, .colour = 0x00FF0000, .halign = 1, .valign = 2, .wrap = 1, .font = song15(),
                            .caption = gbk("你好")};
    Blob b = encode(t);
    EXPECT_EQ(u32_at(b, 0), 1u);
    EXPECT_EQ(u32_at(b, 8), 0x00FF0000u);
    EXPECT_EQ(u32_at(b, 24), 60u);  // font blob
    EXPECT_EQ(u32_at(b, 88), 4u);   // caption string
    EXPECT_EQ(b.size(), 96u);
    expect_read_back(b, t, decode_translabel);
    expect_refusals(b, decode_translabel);
    // A font blob of a length other than 0 or 60 cannot be read.
    Blob odd = b;
    odd[24] = 59;
    EXPECT_FALSE(decode_translabel(odd));

    const PicBoxBlock p{.border = 5, .background = 0x00FFFFFF, .display_mode = 1, .animate = 1, .picture = {0xFF, 0xD8, 0xFF, 0xD9}};
    Blob pb = encode(p);
    EXPECT_EQ(u32_at(pb, 0), 2u);
    EXPECT_EQ(u32_at(pb, 12), 1u);
    EXPECT_EQ(u32_at(pb, 20), 4u);
    expect_read_back(pb, p, decode_picbox);
    expect_refusals(pb, decode_picbox);
    // Version 1 has no data-source strings.
    Blob v1 = with_version(Blob(pb.begin(), pb.end() - 8), 1);
    EXPECT_EQ(decode_picbox(v1)->picture, p.picture);
}

TEST(StoreBlocks, WindowOptionWordsDependOnTheVersion) {
    WindowBlock w;
    for (std::size_t i = 0; i < w.options.size(); ++i) w.options[i] = static_cast<std::uint32_t>(i + 1);
    w.caption = "Tapbook";
    w.background = {1, 2, 3};
    Blob b = encode(w);
    EXPECT_EQ(b.size(), 4u + 72 + 4 + (4 + 3) + 4 + 4 + (4 + 7) + 4);
    expect_read_back(b, w, decode_window);
    expect_refusals(b, decode_window);

    // A version 1 block: 13 words, no version-6 string.
    Blob v1;
    bytes::put_u32(v1, 1);
    for (std::uint32_t i = 1; i <= 13; ++i) bytes::put_u32(v1, i);
    for (int i = 0; i < 3; ++i) bytes::put_u32(v1, 0);  // three empty blobs
    bytes::put_string(v1, "Old");
    bytes::put_u32(v1, 0);
    auto old = decode_window(v1);
    ASSERT_TRUE(old);
    EXPECT_EQ(old->options[12], 13u);
    EXPECT_EQ(old->options[13], 0u);
    EXPECT_EQ(old->caption, "Old");
    // Version 4: 17 words.
    Blob v4;
    bytes::put_u32(v4, 4);
    for (std::uint32_t i = 1; i <= 17; ++i) bytes::put_u32(v4, i);
    for (int i = 0; i < 3; ++i) bytes::put_u32(v4, 0);
    bytes::put_string(v4, "Four");
    bytes::put_u32(v4, 0);
    EXPECT_EQ(decode_window(v4)->options[16], 17u);
    EXPECT_EQ(decode_window(v4)->caption, "Four");
}

TEST(StoreBlocks, ComboBoxItemsCountInSixteenBits) {
    const ComboBoxBlock c{.options = {2, 0x00FFFFFF}, .item_data = {1, 2, 3}, .current_text = "Unit 1",
                          .items = {"Unit 1", "Unit 2", gbk("单词表")}, .extra = 9};
    Blob b = encode(c);
    std::size_t items_at = 4 + 36 + 4 + (4 + 12) + (4 + 6);
    EXPECT_EQ(b[items_at], 3);
    EXPECT_EQ(b[items_at + 1], 0);
    EXPECT_EQ(u32_at(b, items_at + 2), 6u);
    expect_read_back(b, c, decode_combobox);
    expect_refusals(b, decode_combobox);
    Blob huge = b;
    huge[items_at] = 0xFF;
    huge[items_at + 1] = 0xFF;
    EXPECT_FALSE(decode_combobox(huge));
}

TEST(StoreBlocks, SuperBtnFieldsInStoredOrder) {
    const SuperBtnBlock s{.style = 1, .toggle = 1, .checked = 1, .transparent0 = 0x17, .transparent1 = 0x15,
                          .builtin_click_sound = 1, .colours = {24, 25, 26, 27, 28, 29}, .picture0 = {0xA0},
                          .picture1 = {0xB0, 0xB1}, .font = song15(), .caption = gbk("开始学习"), .tooltip = gbk("提示"),
                          .transparent2 = 0x19, .picture2 = {0xC0, 0xC1, 0xC2}};
    Blob b = encode(s);
    EXPECT_EQ(u32_at(b, 4), 1u);       // 8 style
    EXPECT_EQ(u32_at(b, 8), 1u);       // 9 toggle
    EXPECT_EQ(u32_at(b, 32), 0x17u);   // 18
    EXPECT_EQ(u32_at(b, 36), 0x15u);   // 16
    EXPECT_EQ(u32_at(b, 44), 1u);      // 30
    EXPECT_EQ(u32_at(b, 52), 24u);     // colours 24..29
    EXPECT_EQ(u32_at(b, 72), 29u);
    EXPECT_EQ(u32_at(b, 76), 1u);      // picture 17
    EXPECT_EQ(b[80], 0xA0);
    EXPECT_EQ(u32_at(b, 81), 2u);      // picture 15
    EXPECT_EQ(u32_at(b, 87), 60u);     // font 21
    expect_read_back(b, s, decode_superbtn);
    expect_refusals(b, decode_superbtn);
    // Version 1 ends after the tooltip.
    Blob v1 = with_version(Blob(b.begin(), b.end() - 4 - 4 - 3), 1);
    auto d1 = decode_superbtn(v1);
    ASSERT_TRUE(d1);
    EXPECT_TRUE(d1->picture2.empty());
    EXPECT_EQ(d1->tooltip, s.tooltip);
}

TEST(StoreBlocks, PageControlHoldsItsPageTable) {
    PageControlBlock p{.options = {1, 2, 3, 4}, .font = song15(), .table_word = 5, .page_titles = {"2", "4", gbk("背单词")}};
    p.tail[0] = 0xAB;
    p.tail[55] = 0xCD;
    Blob b = encode(p);
    std::size_t table = 3 * (4 + 92) + 1 + 1 + 6;
    EXPECT_EQ(b.size(), 4 + 16 + 60 + 4 + 8 + table + 56);
    EXPECT_EQ(u32_at(b, 80), 8 + table);
    expect_read_back(b, p, decode_pagecontrol);
    expect_refusals(b, decode_pagecontrol);
    Blob many = b;
    many[88] = 0xFF;  // page count past the table
    EXPECT_FALSE(decode_pagecontrol(many));
}

TEST(StoreBlocks, OurOwnLayoutsRoundTrip) {
    const auto round_trip = [](const auto& block, auto decode) {
        const Blob bytes = encode(block);
        expect_read_back(bytes, block, decode);
        expect_refusals(bytes, decode);
    };
    round_trip(EditBoxBlock{.content = gbk("答案"), .multiline = 1, .read_only = 1, .max_length = 20, .text_colour = 0x0000FF,
                            .halign = 1, .font = song15()},
               decode_editbox);
    round_trip(LabelBlock{.caption = gbk("翻译"), .background = 0x00E1FFFF, .alignment = 1, .valign = 2, .wrap = 1, .border = 1,
                          .font = song15()},
               decode_label);
    round_trip(GroupBoxBlock{gbk("框"), 1, 2, song15()}, decode_groupbox);
    round_trip(ButtonBlock{gbk("开始"), std::nullopt}, decode_button);
    round_trip(CheckBoxBlock{gbk("是否读音"), 1, 3, 4, std::nullopt}, decode_checkbox);
    round_trip(DrawPanelBlock{0x00F0F0F0, {1, 2, 3}}, decode_drawpanel);
    round_trip(RichEditBlock{gbk("说明"), 0, 0x008000, 5, song15()}, decode_richedit);
}

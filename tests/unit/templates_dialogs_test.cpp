// The fill-in and sentence-ordering windows as the program carries them: their units, places,
// starting states, captions and the handlers bound to them.
#include <gtest/gtest.h>

#include "support/carried_templates.hpp"
#include "ui/store/type_blocks.hpp"
#include "ui/unit_ids.hpp"

using namespace tb;
using namespace tb::ui;
using namespace tb::test;
namespace fw = tb::ids::fill_in_window;
namespace ow = tb::ids::ordering_window;

namespace {

constexpr WindowHead kOrderingHead{.window_word = 2, .class_id = 0x19012E02, .records = 30};

struct Row {
    std::uint32_t id;
    UnitType type;
    std::array<std::int32_t, 4> place;
    std::uint32_t parent;
    bool visible;
    std::int32_t event;
    std::uint32_t handler;
};

void check_rows(WindowTemplate& w, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        auto r = w.record_of(row.id);
        ASSERT_TRUE(r) << std::hex << row.id;
        SCOPED_TRACE(utf8(r->name));
        EXPECT_EQ(r->type_code, static_cast<std::uint32_t>(row.type));
        EXPECT_EQ(place_of(*r), row.place);
        EXPECT_EQ(r->parent, row.parent);
        EXPECT_EQ(r->visible(), row.visible);
        EXPECT_FALSE(r->disabled());
        EXPECT_EQ(r->handler_for(row.event), row.handler);
        if (row.type == UnitType::SuperBtn) {
            EXPECT_EQ(r->cursor, kCursorHand);
        }
    }
}

}  // namespace

TEST(FillInTemplate, UnitsPlacesAndBindings) {
    WindowTemplate* w = carried_window(fw::window, {.window_word = 8, .class_id = 0x1901091B, .records = 13});
    ASSERT_NE(w, nullptr);
    UnitRecord own = w->record_at(0);
    EXPECT_EQ(place_of(own), (std::array{50, 50, 800, 600}));
    EXPECT_EQ(own.handler_for(0), handler_fill_in_created);
    expect_type_counts(*w, {{UnitType::Window, 1}, {UnitType::SuperBtn, 4}, {UnitType::TransLabel, 3},
                            {UnitType::CheckBox, 2}, {UnitType::Button, 1}, {UnitType::EditBox, 1}, {UnitType::PicBox, 1}});

    const std::uint32_t bg = fw::图片框填一填的背景, none = kNoHandler;
    const auto T = UnitType::TransLabel;
    check_rows(*w, {
        {fw::超级按钮_下一题, UnitType::SuperBtn, {128, 475, 104, 40}, bg, true, 0, handler_fill_in_next_clicked},
        {fw::超级按钮_答案, UnitType::SuperBtn, {282, 475, 60, 40}, bg, true, 0, handler_fill_in_answer_clicked},
        {fw::超级按钮_确定, UnitType::SuperBtn, {392, 475, 60, 40}, bg, true, 0, handler_fill_in_confirm_clicked},
        {fw::超级按钮_退出, UnitType::SuperBtn, {504, 475, 40, 40}, bg, true, 0, handler_fill_in_close_clicked},
        {fw::选择框汉语提示, UnitType::CheckBox, {136, 428, 124, 28}, bg, true, 0, none},
        {fw::选择框是否读音, UnitType::CheckBox, {270, 427, 92, 28}, bg, true, 0, none},
        {fw::透明标签_填一填的题目, T, {190, 154, 600, 36}, 0, true, -1, none},
        {fw::编辑框_要填入内容的, UnitType::EditBox, {190, 154, 15, 36}, 0, true, -9, handler_fill_in_answer_key},
        {fw::透明标签_填一填的汉语提示, T, {190, 224, 378, 36}, 0, true, -1, none},
        {fw::透明标签_填一填的答案提示, T, {188, 354, 378, 36}, 0, false, -1, none},
        {fw::按钮开始, UnitType::Button, {652, 548, 100, 36}, 0, false, 0, handler_fill_in_question},
        {bg, UnitType::PicBox, {0, 0, 800, 600}, 0, true, 0, none},
    });

    auto hint = decode_checkbox(w->record_of(fw::选择框汉语提示)->type_block);
    auto sound = decode_checkbox(w->record_of(fw::选择框是否读音)->type_block);
    ASSERT_TRUE(hint && sound);
    EXPECT_EQ(hint->caption, gbk("是否显示汉语翻译"));
    EXPECT_EQ(sound->caption, gbk("是否读音"));
    EXPECT_EQ(hint->checked, 1u);
    EXPECT_EQ(sound->checked, 1u);
    EXPECT_EQ(decode_button(w->record_of(fw::按钮开始)->type_block)->caption, gbk("开始"));
    // The blank box is drawn over the question in the same letters, so the covered word hides.
    auto question = decode_translabel(w->record_of(fw::透明标签_填一填的题目)->type_block);
    auto blank = decode_editbox(w->record_of(fw::编辑框_要填入内容的)->type_block);
    ASSERT_TRUE(question && blank && question->font && blank->font);
    EXPECT_EQ(*question->font, *blank->font);
    EXPECT_FALSE(decode_picbox(w->record_of(fw::图片框填一填的背景)->type_block)->picture.empty());
}

TEST(OrderingTemplate, UnitsPlacesAndBindings) {
    WindowTemplate* w = carried_window(ow::window, kOrderingHead);
    ASSERT_NE(w, nullptr);
    UnitRecord own = w->record_at(0);
    EXPECT_EQ(place_of(own), (std::array{50, 50, 800, 600}));
    EXPECT_EQ(own.handler_for(0), handler_ordering_created);
    expect_type_counts(*w, {{UnitType::Window, 1}, {UnitType::TransLabel, 12}, {UnitType::GroupBox, 9},
                            {UnitType::SuperBtn, 5}, {UnitType::CheckBox, 2}, {UnitType::PicBox, 1}});

    const std::uint32_t bg = ow::图片框排序的背景, none = kNoHandler;
    const auto G = UnitType::GroupBox, S = UnitType::SuperBtn, T = UnitType::TransLabel;
    check_rows(*w, {
        {bg, UnitType::PicBox, {0, -2, 800, 600}, 0, true, 0, none},
        {ow::分组框_随机的单词, G, {16, 154, 768, 55}, bg, true, 0, none},
        {ow::透明标签p_汉语翻译, T, {32, 244, 736, 49}, bg, false, -1, none},
        {ow::分组框_边线4, G, {16, 236, 768, 2}, bg, false, 0, none},
        {ow::分组框_边线3, G, {18, 297, 768, 2}, bg, false, 0, none},
        {ow::分组框_竖边线4, G, {16, 238, 2, 60}, bg, false, 0, none},
        {ow::分组框_竖边线3, G, {782, 237, 2, 60}, bg, false, 0, none},
        {ow::透明标签p_排列好的, T, {25, 324, 768, 49}, bg, true, -1, none},
        {ow::分组框_边线1, G, {18, 318, 768, 2}, bg, true, 0, none},
        {ow::分组框_边线2, G, {20, 376, 768, 2}, bg, true, 0, none},
        {ow::分组框_竖边线1, G, {18, 318, 2, 60}, bg, true, 0, none},
        {ow::分组框_竖边线2, G, {784, 319, 2, 60}, bg, true, 0, none},
        {ow::选择框_排序读音开关, UnitType::CheckBox, {127, 409, 88, 24}, bg, true, 0, handler_ordering_sound_switch_clicked},
        {ow::选择框_排序汉语翻译开关, UnitType::CheckBox, {240, 409, 88, 24}, bg, true, 0,
         handler_ordering_translation_switch_clicked},
        {ow::超级按钮_排序开始, S, {120, 448, 64, 40}, bg, true, 0, handler_ordering_start_clicked},
        {ow::超级按钮_重做, S, {222, 448, 64, 40}, bg, false, 0, handler_ordering_redo_clicked},
        {ow::超级按钮_提交答案, S, {324, 448, 64, 40}, bg, true, 0, handler_ordering_submit_clicked},
        {ow::超级按钮_答案, S, {426, 448, 64, 40}, bg, true, 0, handler_ordering_answer_clicked},
        {ow::超级按钮_提交答案1, S, {712, 448, 64, 40}, bg, true, 0, handler_ordering_close_clicked},
    });

    auto sound = decode_checkbox(w->record_of(ow::选择框_排序读音开关)->type_block);
    auto translation = decode_checkbox(w->record_of(ow::选择框_排序汉语翻译开关)->type_block);
    ASSERT_TRUE(sound && translation);
    EXPECT_EQ(sound->caption, gbk("读音关"));
    EXPECT_EQ(translation->caption, gbk("汉语翻译关"));
    EXPECT_EQ(sound->checked, 1u);
    EXPECT_EQ(translation->checked, 1u);
    auto line = decode_translabel(w->record_of(ow::透明标签p_排列好的)->type_block);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->caption, gbk("请按照你认为正确的单词顺序单击上面单词，然后看看我什么变化哦..."));
    EXPECT_EQ(line->colour, 0x808080u);
}

TEST(OrderingTemplate, WordLabelsFoundByTag) {
    WindowTemplate* w = carried_window(ow::window, kOrderingHead);
    ASSERT_NE(w, nullptr);
    const int lefts[] = {10, 79, 149, 219, 289, 359, 429, 499, 569, 634};
    // The game looks its word labels up among the labels named 透明标签… by tag 101 to 110.
    auto words = matching(*w, filter("透明标签", "", 101, 110));
    ASSERT_EQ(words.size(), 10u);
    for (int k = 1; k <= 10; ++k) {
        const UnitRecord& r = words[static_cast<std::size_t>(k - 1)];
        SCOPED_TRACE(k);
        EXPECT_EQ(r.name, gbk(("透明标签p_打乱的单词" + std::to_string(k)).c_str()));
        EXPECT_EQ(r.tag_number(), 100 + k);
        EXPECT_EQ(r.type_code, static_cast<std::uint32_t>(UnitType::TransLabel));
        EXPECT_EQ(place_of(r), (std::array{lefts[k - 1], 13, k == 1 ? 103 : 104, 30}));
        EXPECT_EQ(r.parent, ow::分组框_随机的单词);
        EXPECT_TRUE(r.visible());
        EXPECT_EQ(r.handler_for(-1), handler_ordering_word_pressed);
        auto b = decode_translabel(r.type_block);
        ASSERT_TRUE(b && b->font);
        // A face whose Latin letters are half as wide as tall, so that every word fits the 13
        // pixels per letter its label is given, also at 20 points when clicked.
        EXPECT_EQ(b->font->face, gbk("Noto Sans Mono CJK SC"));
        EXPECT_EQ(b->font->size_pt, 14);
    }
    // Only the word labels carry tags in this window.
    EXPECT_EQ(matching(*w, filter("", "", 1)).size(), 10u);
}

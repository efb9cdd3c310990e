// The main window as the program carries it: the hand-written units (page book, toolbar, pop-up,
// answer-mark model, drill page) and, when the page units are laid out in this build, the whole
// inventory the page logic selects from by name, type and tag.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "support/carried_templates.hpp"
#include "ui/store/type_blocks.hpp"
#include "ui/unit_ids.hpp"

using namespace tb;
using namespace tb::ui;
using namespace tb::test;
namespace mw = tb::ids::main_window;

namespace {

class MainTemplate : public ::testing::Test {
protected:
    void SetUp() override {
        set_ = carried_templates();
        ASSERT_TRUE(set_);
        w_ = set_->find_window(mw::window);
        ASSERT_NE(w_, nullptr);
    }
    UnitRecord rec(std::uint32_t id) {
        auto r = w_->record_of(id);
        EXPECT_TRUE(r) << std::hex << id;
        return r ? *r : UnitRecord{};
    }
    std::unique_ptr<TemplateSet> set_;
    WindowTemplate* w_ = nullptr;
};

// The picture box shown on each page index, as the page book lists them.
std::string page_picture(int k) {
    static const char* const kFirst[] = {"图片框底图2", "图片框底图4", "图片框底图1", "图片框底图3"};
    if (k < 4) return kFirst[k];
    if (k < 36) return "图片框底图" + std::to_string(k + 1);
    return "图片框底图背单词";
}

// The edition line of the book's extras list.
Text edition_text() {
    std::ifstream in(TAPBOOK_SOURCE_DIR "/book/extras.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("edition", 0) != 0) continue;
        auto bar = line.find('|');
        if (bar == std::string::npos) break;
        std::string t = line.substr(bar + 1);
        t.erase(0, t.find_first_not_of(' '));
        t.erase(t.find_last_not_of(" \r") + 1);
        return gbk(t);
    }
    return gbk("阳光山英语 四年级上册 · Tapbook 样书");
}

}  // namespace

TEST_F(MainTemplate, WindowRecordAndSize) {
    EXPECT_EQ(w_->window_word(), 0x000A0192u);
    EXPECT_EQ(w_->class_id(), 0x190106D4u);
    UnitRecord own = w_->record_at(0);
    EXPECT_EQ(own.type_code, static_cast<std::uint32_t>(UnitType::Window));
    EXPECT_EQ(place_of(own), (std::array{0, 0, 800, 600}));
    EXPECT_EQ(own.handler_for(0), handler_main_created);
    auto block = decode_window(own.type_block);
    ASSERT_TRUE(block);
    EXPECT_TRUE(block->caption.empty());
}

TEST_F(MainTemplate, InventoryByType) {
    EXPECT_EQ(w_->record_count(), 1070);
    expect_type_counts(*w_, {{UnitType::TransLabel, 915}, {UnitType::PicBox, 69}, {UnitType::EditBox, 40},
                             {UnitType::CheckBox, 23}, {UnitType::Window, 1}, {UnitType::SuperBtn, 15},
                             {UnitType::ComboBox, 3}, {UnitType::Label, 2}, {UnitType::GroupBox, 1},
                             {UnitType::PageControl, 1}});

    // Unit ids and names are unique; parents are units of the window stored before their children.
    std::set<std::uint32_t> ids;
    std::set<Text> names;
    for (int i = 0; i < w_->record_count(); ++i) {
        UnitRecord r = w_->record_at(i);
        EXPECT_TRUE(ids.insert(r.unit_id).second) << i;
        if (!r.name.empty()) {
            EXPECT_TRUE(names.insert(r.name).second) << utf8(r.name);
        }
        if (r.parent) {
            EXPECT_LT(w_->index_of(r.parent), i) << utf8(r.name);
        }
    }
}

TEST_F(MainTemplate, PageBookTitlesAndPages) {
    UnitRecord book = rec(mw::高级选择夹1);
    EXPECT_EQ(place_of(book), (std::array{0, 0, 800, 540}));
    EXPECT_EQ(book.parent, 0u);
    EXPECT_EQ(book.handler_for(0), handler_page_changed);
    auto block = decode_pagecontrol(book.type_block);
    ASSERT_TRUE(block);
    ASSERT_EQ(block->page_titles.size(), 37u);
    for (int k = 0; k < 36; ++k) EXPECT_EQ(block->page_titles[k], std::to_string(2 * (k + 1))) << k;
    EXPECT_EQ(block->page_titles[36], gbk("背单词"));
    EXPECT_NE(block->options[0] & 1u, 0u) << "the tab strip is not shown";

    // 37 groups, each ended by 0, each holding exactly the page's picture box.
    EXPECT_EQ(std::count(book.children.begin(), book.children.end(), 0u), 37);
    std::vector<std::uint32_t> expected;
    for (int k = 0; k < 37; ++k) {
        auto pic = record_named(*w_, page_picture(k).c_str());
        ASSERT_TRUE(pic) << page_picture(k);
        EXPECT_EQ(pic->type_code, static_cast<std::uint32_t>(UnitType::PicBox));
        EXPECT_EQ(pic->parent, mw::高级选择夹1);
        EXPECT_EQ(w_->page_of(pic->unit_id), k) << page_picture(k);
        // Stored off the page's corner; the main window moves them there when it is created.
        EXPECT_GE(pic->left, -17);
        EXPECT_LE(pic->left, 13);
        EXPECT_GE(pic->top, 54);
        EXPECT_LE(pic->top, 78);
        EXPECT_EQ(pic->width, 800);
        expected.push_back(pic->unit_id);
        expected.push_back(0);
    }
    EXPECT_EQ(book.children, expected);

    for (int n = 1; n <= 36; ++n) {
        auto pic = record_named(*w_, ("图片框底图" + std::to_string(n)).c_str());
        ASSERT_TRUE(pic) << n;
        EXPECT_EQ(pic->height, 540);
        auto block = decode_picbox(pic->type_block);
        ASSERT_TRUE(block);
        EXPECT_EQ(block->display_mode, 1u);
        ASSERT_GT(block->picture.size(), 2u) << n;
        EXPECT_EQ(block->picture[0], 0xFF) << "a JPEG";
        EXPECT_EQ(block->picture[1], 0xD8) << "a JPEG";
    }
    auto drill = rec(mw::图片框底图背单词);
    EXPECT_EQ(drill.width, 800);
    EXPECT_EQ(drill.height, 560);
    auto picture = decode_picbox(drill.type_block);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->display_mode, 1u);
}

TEST_F(MainTemplate, ToolbarButtons) {
    struct Row {
        std::uint32_t id;
        int left;
        const char* caption;
        const char* tooltip;
        std::uint32_t handler;
    };
    const Row rows[] = {
        {mw::超级按钮_全屏, 8, "全屏", "全屏", handler_fullscreen_clicked},
        {mw::超级按钮_上一页, 51, "上一页", "上一页", handler_previous_page_clicked},
        {mw::超级按钮_下一页, 157, "下一页", "下一页", handler_next_page_clicked},
        {mw::超级按钮_中文提示, 200, "中文翻译关", "中文提示关", handler_chinese_hint_clicked},
        {mw::超级按钮_练一练, 243, "练一练", "练一练", handler_practice_clicked},
        {mw::超级按钮_找一找, 286, "找一找", "找一找", handler_find_clicked},
        {mw::超级按钮_填一填, 329, "填一填", "填一填", handler_fill_in_clicked},
        {mw::超级按钮_排序, 372, "排序题", "", handler_ordering_clicked},
        {mw::超级按钮_背单词, 415, "背单词", "背单词", handler_drill_clicked},
        {mw::超级按钮_退出, 461, "退出", "退出", handler_exit_clicked},
    };
    UnitRecord frame = rec(mw::分组框翻页);
    EXPECT_EQ(place_of(frame), (std::array{1, 536, 792, 59}));
    EXPECT_EQ(frame.parent, 0u);
    for (const Row& row : rows) {
        UnitRecord b = rec(row.id);
        SCOPED_TRACE(utf8(b.name));
        EXPECT_EQ(b.type_code, static_cast<std::uint32_t>(UnitType::SuperBtn));
        EXPECT_EQ(place_of(b), (std::array{row.left, 15, 40, 30}));
        EXPECT_EQ(b.parent, mw::分组框翻页);
        EXPECT_EQ(b.cursor, kCursorHand);
        EXPECT_TRUE(b.visible());
        EXPECT_FALSE(b.disabled());
        EXPECT_EQ(b.handler_for(0), row.handler);
        auto block = decode_superbtn(b.type_block);
        ASSERT_TRUE(block);
        EXPECT_EQ(block->caption, gbk(row.caption));
        EXPECT_EQ(block->tooltip, gbk(row.tooltip));
        EXPECT_EQ(block->toggle, row.id == mw::超级按钮_中文提示 ? 1u : 0u);
        EXPECT_EQ(block->builtin_click_sound, 0u);
        EXPECT_TRUE(block->sound.empty() && block->click_sound.empty());
    }
}

TEST_F(MainTemplate, ComboItemsAndData) {
    struct Row {
        std::uint32_t id;
        std::vector<const char*> items;
        std::vector<std::uint32_t> data;
        std::uint32_t handler;
    };
    const Row rows[] = {
        {mw::组合框课程选择,
         {"Unit 1", "Unit 2", "Unit 3", "Recycle 1", "Unit 4", "Unit 5", "Unit 6", "Recycle 2", "单词表"},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
         handler_course_chosen},
        {mw::组合框_背单词课时选择, {"Unit 1", "Unit 2", "Unit 3", "Unit 4", "Unit 5", "Unit 6"}, {1, 2, 3, 4, 5, 6},
         handler_drill_lesson_changed},
        {mw::组合框_背单词顺序选择, {"课本顺序", "随机顺序"}, {1, 2}, handler_drill_order_changed},
    };
    for (const Row& row : rows) {
        UnitRecord c = rec(row.id);
        SCOPED_TRACE(utf8(c.name));
        EXPECT_EQ(c.handler_for(0), row.handler);
        auto block = decode_combobox(c.type_block);
        ASSERT_TRUE(block);
        EXPECT_EQ(block->options[0], 2u);
        EXPECT_EQ(block->options[1], 0x00FFFFFFu);
        ASSERT_EQ(block->items.size(), row.items.size());
        for (std::size_t i = 0; i < row.items.size(); ++i) EXPECT_EQ(block->items[i], gbk(row.items[i]));
        EXPECT_EQ(block->item_data, row.data);
        EXPECT_EQ(block->current_text, block->items[0]);
    }
    EXPECT_EQ(place_of(rec(mw::组合框课程选择)), (std::array{94, 21, 60, 20}));
    EXPECT_EQ(rec(mw::组合框课程选择).parent, mw::分组框翻页);
}

TEST_F(MainTemplate, PopUpEditionLabelAndMarkModel) {
    UnitRecord pop = rec(mw::标签_显示翻译);
    EXPECT_EQ(pop.type_code, static_cast<std::uint32_t>(UnitType::Label));
    EXPECT_EQ(place_of(pop), (std::array{27, 21, 40, 24}));
    EXPECT_EQ(pop.parent, 0u);
    EXPECT_FALSE(pop.visible());
    EXPECT_EQ(pop.handler_for(-1), handler_popup_pressed);
    auto pop_block = decode_label(pop.type_block);
    ASSERT_TRUE(pop_block);
    EXPECT_NE(pop_block->background, kDefaultColour) << "the pop-up needs a ground of its own over the page";

    // The pop-up is the one unit tagged 1: the hotspot routine finds it by that tag.
    int tagged_one = 0;
    for (int i = 0; i < w_->record_count(); ++i) tagged_one += w_->record_at(i).tag_number() == 1;
    EXPECT_EQ(tagged_one, 1);
    load_templates(embedded_blob("templates"));
    UnitRef found = find_unit_by_tag(mw::window, 1);
    EXPECT_EQ(found.unit_id, mw::标签_显示翻译);
    EXPECT_EQ(found.type_code, static_cast<std::uint32_t>(UnitType::Label));

    UnitRecord edition = rec(mw::标签_版本);
    EXPECT_EQ(place_of(edition), (std::array{511, 13, 276, 40}));
    EXPECT_EQ(edition.parent, mw::分组框翻页);
    auto ed = decode_label(edition.type_block);
    ASSERT_TRUE(ed);
    EXPECT_EQ(ed->caption, edition_text());
    EXPECT_EQ(ed->alignment, 2u);
    ASSERT_TRUE(ed->font);
    EXPECT_EQ(ed->font->face, gbk("黑体"));

    UnitRecord mark = rec(mw::图片框_正确);
    EXPECT_EQ(mark.type_code, static_cast<std::uint32_t>(UnitType::PicBox));
    EXPECT_EQ(mark.width, 20);
    EXPECT_EQ(mark.height, 20);
    EXPECT_EQ(mark.parent, 0u);
    EXPECT_FALSE(mark.visible());
    EXPECT_EQ(decode_picbox(mark.type_block)->display_mode, 1u);
}

TEST_F(MainTemplate, DrillPageUnits) {
    struct Row {
        std::uint32_t id;
        UnitType type;
        bool visible, disabled;
        std::int32_t event;
        std::uint32_t handler;
    };
    const std::uint32_t none = kNoHandler;
    const Row rows[] = {
        {mw::组合框_背单词课时选择, UnitType::ComboBox, true, false, 0, handler_drill_lesson_changed},
        {mw::组合框_背单词顺序选择, UnitType::ComboBox, true, false, 0, handler_drill_order_changed},
        {mw::选择框_是否显示中文, UnitType::CheckBox, true, false, 0, handler_drill_show_chinese_clicked},
        {mw::编辑框背单词, UnitType::EditBox, true, true, -9, handler_drill_answer_key},
        {mw::编辑框错误记录, UnitType::EditBox, false, false, 0, none},
        {mw::透明标签_背单词的汉语翻译, UnitType::TransLabel, true, false, -1, none},
        {mw::透明标签_对错判断, UnitType::TransLabel, true, false, -1, none},
        {mw::透明标签单词总数和错误, UnitType::TransLabel, true, false, -1, none},
        {mw::超级按钮b_开始, UnitType::SuperBtn, true, false, 0, handler_drill_start_clicked},
        {mw::超级按钮b_再听一遍, UnitType::SuperBtn, true, true, 0, handler_drill_listen_clicked},
        {mw::超级按钮b_下一题, UnitType::SuperBtn, true, true, 0, handler_drill_skip_clicked},
        {mw::超级按钮b_确定背单词, UnitType::SuperBtn, true, true, 0, handler_drill_confirm_clicked},
        {mw::超级按钮b_退出背单词, UnitType::SuperBtn, true, false, 0, handler_drill_leave_clicked},
    };
    for (const Row& row : rows) {
        UnitRecord r = rec(row.id);
        SCOPED_TRACE(utf8(r.name));
        EXPECT_EQ(r.type_code, static_cast<std::uint32_t>(row.type));
        EXPECT_EQ(r.parent, mw::图片框底图背单词);
        EXPECT_EQ(w_->page_of(row.id), 36);
        EXPECT_EQ(r.visible(), row.visible);
        EXPECT_EQ(r.disabled(), row.disabled);
        EXPECT_EQ(r.handler_for(row.event), row.handler);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.left + r.width, 800);
        EXPECT_LE(r.top + r.height, 536) << "above the toolbar";
    }
    // The answer box and the error record share one place; the record is taller.
    UnitRecord answer = rec(mw::编辑框背单词), record = rec(mw::编辑框错误记录);
    EXPECT_EQ(answer.left, 196);
    EXPECT_EQ(record.left, 194);
    EXPECT_EQ(answer.top, 197);
    EXPECT_EQ(record.top, 197);
    EXPECT_EQ(answer.width, 312);
    EXPECT_EQ(record.width, 312);
    EXPECT_EQ(record.height, 188);
    EXPECT_EQ(decode_editbox(record.type_block)->multiline, 1u);

    auto show = decode_checkbox(rec(mw::选择框_是否显示中文).type_block);
    ASSERT_TRUE(show);
    EXPECT_EQ(show->caption, gbk("是否显示中文"));
    EXPECT_EQ(show->checked, 1u);
    auto mark = decode_translabel(rec(mw::透明标签_对错判断).type_block);
    ASSERT_TRUE(mark);
    EXPECT_TRUE(mark->caption.empty());

    // Drill buttons carry their pictures; the four that are ever disabled have a disabled look.
    int with_grey = 0;
    for (int i = 0; i < w_->record_count(); ++i) {
        UnitRecord r = w_->record_at(i);
        if (r.name.rfind(gbk("超级按钮b"), 0) != 0) continue;
        auto b = decode_superbtn(r.type_block);
        ASSERT_TRUE(b);
        EXPECT_FALSE(b->picture0.empty()) << utf8(r.name);
        EXPECT_FALSE(b->picture1.empty()) << utf8(r.name);
        with_grey += !b->picture2.empty();
    }
    EXPECT_EQ(with_grey, 4);
}

TEST_F(MainTemplate, CollectionsThePageLogicMakes) {
    // Page pictures and the drill page by prefix.
    CollectFilter pictures = filter("图片框底图");
    EXPECT_EQ(matching(*w_, pictures).size(), 37u);
    // The drill buttons by their prefix: the five of the drill page and nothing else.
    EXPECT_EQ(matching(*w_, filter("超级按钮b")).size(), 5u);
    // Edit boxes by type name: the 38 page boxes and the drill's two.
    CollectFilter edits = filter("", "编辑框");
    EXPECT_EQ(matching(*w_, edits).size(), 40u);
}

TEST_F(MainTemplate, PracticeOverlaysInPageOrder) {
    auto overlays = matching(*w_, filter("透明标签练一练是否错误"));
    ASSERT_EQ(overlays.size(), 34u);
    int last_page = -1;
    for (const UnitRecord& r : overlays) {
        SCOPED_TRACE(utf8(r.name));
        EXPECT_EQ(r.type_code, static_cast<std::uint32_t>(UnitType::TransLabel));
        EXPECT_TRUE(r.visible());
        EXPECT_TRUE(r.disabled());
        EXPECT_EQ(r.cursor, kCursorArrow);
        EXPECT_TRUE(r.tag.empty());
        int page = w_->page_of(r.unit_id);
        EXPECT_GT(page, last_page);
        EXPECT_LE(page, 33);
        last_page = page;
    }
}

TEST_F(MainTemplate, HotspotsOfEachPageByTag) {
    // Printed page -> hotspots; page index = page / 2 - 1.
    const std::map<int, int> hotspots = {
        {2, 14},  {4, 35},  {6, 29},  {8, 24},  {10, 21}, {12, 15}, {14, 28}, {16, 31}, {18, 26},
        {20, 16}, {22, 13}, {24, 28}, {26, 26}, {28, 29}, {30, 19}, {32, 15}, {34, 9},  {36, 14},
        {38, 24}, {40, 34}, {42, 23}, {44, 20}, {46, 8},  {48, 26}, {50, 32}, {52, 25}, {54, 24},
        {56, 10}, {58, 27}, {60, 22}, {62, 19}, {64, 21}, {66, 30}, {68, 8}};
    int total = 0;
    for (auto [page, count] : hotspots) {
        SCOPED_TRACE(page);
        std::string word = page == 2 ? "二" : page == 4 ? "四" : std::to_string(page);
        Text prefix = gbk(("透明标签页" + word + "_").c_str());
        auto found = matching(*w_, filter("", "透明标签", page, page));
        ASSERT_EQ(static_cast<int>(found.size()), count);
        std::vector<int> numbers;
        for (const UnitRecord& r : found) {
            ASSERT_EQ(r.name.rfind(prefix, 0), 0u) << utf8(r.name);
            numbers.push_back(std::stoi(r.name.substr(prefix.size())));
            EXPECT_EQ(w_->page_of(r.unit_id), page / 2 - 1) << utf8(r.name);
            EXPECT_EQ(r.cursor, kCursorHand);
            EXPECT_EQ(r.handler_for(-1), handler_page_hotspot_pressed);
        }
        std::sort(numbers.begin(), numbers.end());
        for (int n = 1; n <= count; ++n) EXPECT_EQ(numbers[n - 1], n);
        total += count;
    }
    EXPECT_EQ(total, 745);
    // Word-list hotspots carry no tag; none is tagged 70.
    EXPECT_TRUE(matching(*w_, filter("", "透明标签", 69, 71)).empty());
}

// Every binding of the three windows, by unit type and event: a unit that lost its handler, or a
// handler bound to the wrong event, shows up here.
TEST(TemplateBindings, CountsByTypeAndEvent) {
    auto set = carried_templates();
    ASSERT_TRUE(set);
    std::map<std::pair<UnitType, std::int32_t>, int> bound;
    for (std::uint32_t id : {mw::window, tb::ids::fill_in_window::window, tb::ids::ordering_window::window}) {
        WindowTemplate* w = set->find_window(id);
        ASSERT_NE(w, nullptr);
        for (int i = 0; i < w->record_count(); ++i) {
            UnitRecord r = w->record_at(i);
            for (const Binding& b : r.bindings)
                if (b.handler != kNoHandler) ++bound[{static_cast<UnitType>(r.type_code), b.event}];
        }
    }
    const std::map<std::pair<UnitType, std::int32_t>, int> expected = {
        {{UnitType::Window, 0}, 3},    {{UnitType::TransLabel, -1}, 920}, {{UnitType::Label, -1}, 1},
        {{UnitType::EditBox, 0}, 38},  {{UnitType::EditBox, -9}, 2},      {{UnitType::SuperBtn, 0}, 24},
        {{UnitType::Button, 0}, 1},    {{UnitType::CheckBox, 0}, 25},     {{UnitType::ComboBox, 0}, 3},
        {{UnitType::PageControl, 0}, 1}};
    EXPECT_EQ(bound, expected);
}

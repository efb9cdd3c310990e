// The template set the program carries, as the template compiler built it from windows/.
#include <gtest/gtest.h>

#include "support/carried_templates.hpp"
#include "ui/store/template_store.hpp"
#include "ui/store/type_blocks.hpp"
#include "ui/unit_ids.hpp"

using namespace tb;
using namespace tb::ui;
namespace welcome = tb::ids::welcome;

using tb::test::carried_window;

TEST(StoreCompiled, WelcomeWindowHoldsItsUnits) {
    WindowTemplate* w = carried_window(welcome::window, {.window_word = 0xFFFFFFFF, .class_id = 0x19010024, .records = 12});
    ASSERT_NE(w, nullptr);

    UnitRecord own = w->record_at(0);
    EXPECT_EQ(own.type_code, static_cast<std::uint32_t>(UnitType::Window));
    EXPECT_EQ(own.width, 393);
    EXPECT_EQ(own.height, 400);
    EXPECT_EQ(own.handler_for(0), tb::test::handler_welcome_created);
    EXPECT_EQ(decode_window(own.type_block)->caption, "Tapbook");

    auto start = w->record_of(welcome::超级按钮_开始学习);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->name, gbk("超级按钮_开始学习"));
    EXPECT_FALSE(start->visible());
    EXPECT_EQ(start->cursor, kCursorHand);
    EXPECT_EQ(start->handler_for(0), tb::test::handler_welcome_start_clicked);
    EXPECT_EQ(decode_superbtn(start->type_block)->caption, gbk("开始学习"));
    EXPECT_EQ((std::array{start->left, start->top, start->width, start->height}), (std::array{217, 256, 100, 40}));

    auto loading = w->record_of(welcome::图片框加载);
    ASSERT_TRUE(loading);
    EXPECT_FALSE(loading->visible());
    EXPECT_EQ(loading->parent, welcome::分组框1);
    EXPECT_EQ(decode_picbox(loading->type_block)->animate, 1u);
    EXPECT_EQ(decode_picbox(w->record_of(welcome::图片框封皮)->type_block)->display_mode, 1u);

    auto book = decode_pagecontrol(w->record_of(welcome::高级选择夹1)->type_block);
    ASSERT_TRUE(book);
    ASSERT_EQ(book->page_titles.size(), 3u);
    EXPECT_EQ(book->page_titles[1], gbk("软件说明"));
    EXPECT_EQ(book->page_titles[2], gbk("常见问题"));
    EXPECT_EQ(w->record_of(welcome::高级选择夹1)->parent, welcome::画板1_背景);

    EXPECT_EQ(w->page_of(welcome::图片框封皮), 0);
    EXPECT_EQ(w->page_of(welcome::标签3), 0);
    EXPECT_EQ(w->page_of(welcome::超级按钮_开始学习), 0);
    EXPECT_EQ(w->page_of(welcome::超级编辑框软件说明), 1);
    EXPECT_EQ(w->page_of(welcome::超级编辑框常见问题), 2);
    EXPECT_EQ(w->page_of(welcome::画板1_背景), -1);

    EXPECT_EQ(decode_label(w->record_of(welcome::标签3)->type_block)->caption, "Tapbook");
    auto about = decode_richedit(w->record_of(welcome::超级编辑框软件说明)->type_block);
    auto faq = decode_richedit(w->record_of(welcome::超级编辑框常见问题)->type_block);
    ASSERT_TRUE(about && faq);
    EXPECT_NEAR(static_cast<double>(about->content.size()), 477.0, 30.0);
    EXPECT_NEAR(static_cast<double>(faq->content.size()), 774.0, 40.0);
    EXPECT_EQ(faq->content.rfind("1.", 0), 0u);

    // Every unit's type block reads.
    for (int i = 0; i < w->record_count(); ++i) {
        UnitRecord r = w->record_at(i);
        EXPECT_FALSE(chinese_type_name(r.type_code).empty()) << i;
    }
}

// Hotspots on the real main window: the clip, the translation pop-up's size and place, the "$"
// and Chinese-hint rules, word-list hotspots, and every hotspot of the volume.
#include <gtest/gtest.h>

#include "content/catalogue.hpp"
#include "content/tables.hpp"
#include "content/volume.hpp"
#include "support/fakes.hpp"
#include "support/main_window_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using namespace tb::test;  // the fixture, its fakes, and mw:: for the main window's units

namespace {

struct Popup {
    int left, top, width, height, alignment, visible;
    Text caption;
};

Popup popup() {
    auto g = [](int i) { return get_int(mw::window, mw::标签_显示翻译, i); };
    return {g(prop::kLeft),       g(prop::kTop),     g(prop::kWidth), g(prop::kHeight),
            g(prop::kLabelAlignment), g(prop::kVisible), get_text(mw::window, mw::标签_显示翻译, prop::kLabelCaption)};
}

class Hotspots : public MainWindowTest {
protected:
    // Hotspot 2 of page 2 (page index 0), placed and given a translation for the test.
    std::uint32_t prepared(int left, int top, const Text& translation) {
        const std::uint32_t h = unit_named("透明标签页二_2");
        set(h, prop::kLeft, left);
        set(h, prop::kTop, top);
        spread().current_translations.at(2) = translation;
        return h;
    }
};

}  // namespace

TEST_F(Hotspots, APressPlaysTheItemsClipAndShowsItsTranslationBelow) {
    const std::uint32_t h = unit_named("透明标签页二_5");
    press(h);
    ASSERT_EQ(test::sound().played.size(), 1u);
    const auto table = catalogue::page_clips(0);
    EXPECT_EQ(test::sound().played[0].bytes, Blob(table[4].begin(), table[4].end()));
    EXPECT_FALSE(test::sound().played[0].loop);
    const Popup p = popup();
    EXPECT_EQ(p.caption, spread().current_translations.at(5));
    EXPECT_EQ(p.visible, 1);
    EXPECT_EQ(p.width, 11 * length(p.caption));
    EXPECT_EQ(p.height, 25);
    EXPECT_EQ(p.alignment, 1);
    EXPECT_EQ(p.left, get(h, prop::kLeft));
    EXPECT_EQ(p.top, get(h, prop::kTop) + 75);
    EXPECT_EQ(std::get<Font>(get_property(mw::window, mw::标签_显示翻译, prop::kLabelFont)).size_pt, 15);
}

TEST_F(Hotspots, AOneLinePopUpNearTheRightEdgeMovesLeft) {
    press(prepared(700, 100, "abcdefghij"));
    EXPECT_EQ(popup().width, 110);
    EXPECT_EQ(popup().left, 670);
    press(prepared(690, 100, "abcdefghij"));  // 690 + 110 = 800: not past the edge
    EXPECT_EQ(popup().left, 690);
}

TEST_F(Hotspots, AOneLinePopUpNearTheBottomGoesAbove) {
    press(prepared(10, 500, "abc"));
    EXPECT_EQ(popup().top, 450);
    press(prepared(10, 485, "abc"));
    EXPECT_EQ(popup().top, 435);
    press(prepared(10, 444, "abc"));  // 519 + 40 is not more than 560
    EXPECT_EQ(popup().top, 519);
}

TEST_F(Hotspots, SeveralLinesAreSizedByTheLongestLine) {
    press(prepared(10, 100, "12345678\r\n12345678901234567890"));
    const Popup p = popup();
    EXPECT_EQ(p.width, 200);
    EXPECT_EQ(p.height, 40);
    EXPECT_EQ(p.top, 150);
    EXPECT_EQ(p.alignment, 0);
    press(prepared(10, 480, "12345678\r\n12345678901234567890"));  // 530 + 40 + 40 > 560
    EXPECT_EQ(popup().top, 480 - 50 - 40);
}

TEST_F(Hotspots, AnEmptyMarkerPlaysButShowsNothing) {
    click(mw::超级按钮_下一页);  // page index 1: item 3 is an empty marker
    press(unit_named("透明标签页四_3"));
    EXPECT_EQ(test::sound().played.size(), 1u);
    EXPECT_FALSE(test::sound().played[0].bytes.empty());
    EXPECT_EQ(popup().caption, "$");
    EXPECT_EQ(popup().visible, 0);
}

TEST_F(Hotspots, WithTheHintSwitchOffNothingIsShown) {
    click(mw::超级按钮_中文提示);
    press(unit_named("透明标签页二_4"));
    EXPECT_EQ(test::sound().played.size(), 1u);
    EXPECT_EQ(popup().visible, 0);
    click(mw::超级按钮_中文提示);
    press(unit_named("透明标签页二_4"));
    EXPECT_EQ(popup().visible, 1);
}

TEST_F(Hotspots, ASecondPressStopsTheFirstClip) {
    press(unit_named("透明标签页二_3"));
    const int stops = test::sound().stops;
    press(unit_named("透明标签页二_4"));
    EXPECT_EQ(test::sound().stops, stops + 1);
    ASSERT_EQ(test::sound().playing.size(), 1u);
    const auto table = catalogue::page_clips(0);
    EXPECT_EQ(test::sound().playing[0].bytes, Blob(table[3].begin(), table[3].end()));
}

TEST_F(Hotspots, AWordListHotspotPlaysItsOwnClip) {
    choose_course(8);  // the word list
    press(unit_named("透明标签页70_3"));
    ASSERT_EQ(test::sound().played.size(), 1u);
    const auto clip = catalogue::word_list_clip(3);
    ASSERT_FALSE(clip.empty());
    EXPECT_EQ(test::sound().played[0].bytes, Blob(clip.begin(), clip.end()));
    EXPECT_EQ(popup().width, 0);
    EXPECT_EQ(popup().caption, Text());
    // The two note labels have no clip and do nothing.
    choose_course(8);
    click(mw::超级按钮_下一页);
    const auto played = test::sound().played.size();
    press(unit_named("透明标签页70_141"));
    press(unit_named("透明标签页70_166"));
    EXPECT_EQ(test::sound().played.size(), played);
}

TEST_F(Hotspots, FullScreenKeepsThePopUpInsideTheScreen) {
    test::set_screen_size(1024, 768);
    view().full_screen = 1;
    press(prepared(1000, 700, "abcdefghij"));
    const Popup p = popup();
    EXPECT_EQ(p.left, 1024 - 110 - 20);
    EXPECT_EQ(p.top, 650);
    EXPECT_LE(p.left + p.width, 1024);
    EXPECT_EQ(get(find_window(mw::window)->unit_id_at(0), prop::kWindowState), 3);
    press(prepared(850, 600, "abcdefghij"));  // beyond 800 x 600 but inside the screen
    EXPECT_EQ(popup().left, 850);
    EXPECT_EQ(popup().top, 675);
}

TEST_F(Hotspots, EveryHotspotOfEveryPageFindsItsClipAndTranslation) {
    int pressed = 0;
    for (int k = 0; k <= 35; ++k) {
        ASSERT_EQ(page(), k);
        const long long p = tb::volume::printed_page(k);
        std::vector<UnitRef> spots = k < 34 ? collect_units(mw::window, {}, gbk("透明标签"), p, p)
                                            : collect_units(mw::window, gbk("透明标签页70_"));
        std::vector<UnitRef> on_page;
        for (const UnitRef& u : spots)
            if (find_window(mw::window)->page_of(u.unit_id) == k) on_page.push_back(u);
        ASSERT_FALSE(on_page.empty()) << "page " << k;
        for (const UnitRef& u : on_page) {
            press(u.unit_id);
            ++pressed;
            ASSERT_FALSE(ui::take_handler_error()) << "page " << k;
        }
        if (k < 35) click(mw::超级按钮_下一页);
    }
    EXPECT_EQ(pressed, 878);
    EXPECT_EQ(test::sound().played.size(), 876u);
}

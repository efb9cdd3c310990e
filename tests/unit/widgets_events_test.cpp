// Events raised by real input on live controls, and the run-time errors around handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "runtime/error.hpp"
#include "support/fakes.hpp"
#include "support/widget_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using namespace tb::test;

namespace {

constexpr std::uint32_t kWin = 0x52000200;
// The test window's units, numbered from the first.
enum : std::uint32_t { kBook = 0x16000001, kPage0, kPage1, kHot1, kHot2, kCover, kButton, kEdit, kCheck, kMark };

class WidgetsEvents : public tb::test::WidgetTest {
protected:
    using Raised = std::pair<std::uint32_t, int>;  // (unit, event)
    std::vector<Raised> raised;
    std::function<int()> on_page_leave = [] { return 0; };
    Blob click = {'R', 'I', 'F', 'F'};

    using TestHandler = tb::test::TestHandler;
    // A handler that destroys its own window and shows it anew, modally. From inside that loop it
    // gives the same input again until it has run `times` times, then destroys the window so that
    // the nested loops unwind.
    static TestHandler rebuild_modally(int& runs, int times, std::function<void()> input) {
        return [&runs, times, input = std::move(input)](const EventArgs&) {
            destroy_window(kWin);
            if (++runs < times) {
                QTimer::singleShot(0, input);
            } else {
                QTimer::singleShot(0, [] { destroy_window(kWin); });
            }
            show_window(kWin, true);
            return 0;
        };
    }
    static constexpr std::uint32_t kPopup = 0x16000012;
    // Shows the window with only a pop-up label on it, whose press lets the mouse drag it, and
    // presses the label; returns it.
    QWidget* press_draggable_popup(const char* tag = "") {
        auto w = window_spec(kWin);
        auto popup = unit_spec(kPopup, UnitType::Label, "标签_显示翻译", 0, {27, 21, 40, 24});
        popup.tag = tag;
        popup.bindings = {{-1, bind([](const EventArgs&) {
                               drag_with_mouse(event_unit());
                               return 0;
                           })}};
        w.units.push_back(popup);
        load({w});
        EXPECT_TRUE(show_window(kWin, false));
        QWidget* label = control(kWin, kPopup);
        if (label) QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 6));
        return label;
    }
    // The mouse moved to a point of the frame with those buttons down, as the label sees it.
    static void move_mouse(QWidget* label, QWidget* frame, QPoint in_frame, Qt::MouseButtons buttons) {
        const QPoint local = label->mapFrom(frame, in_frame);
        QMouseEvent e(QEvent::MouseMove, QPointF(local), QPointF(frame->mapToGlobal(in_frame)), Qt::NoButton, buttons, {});
        QApplication::sendEvent(label, &e);
    }
    TestHandler record() {
        return [this](const EventArgs& a) {
            raised.emplace_back(event_unit().unit_id, a.event);
            return 0;
        };
    }

    // A two-page book (pictures with hotspots on them), a picture button, an edit box, a check box.
    void build(bool button_disabled = false) {
        auto w = window_spec(kWin);
        auto book = unit_spec(kBook, UnitType::PageControl, "高级选择夹1", 0, {0, 0, 800, 540});
        book.children = {kPage0, 0, kPage1, 0};
        PageControlBlock pb;
        pb.page_titles = {"2", "4"};
        book.type_block = encode(pb);
        book.bindings = {{1, bind([this](const EventArgs& a) {
                              raised.emplace_back(kBook, a.event);
                              return on_page_leave();
                          })},
                         {0, bind(record())}};
        w.units.push_back(book);
        w.units.push_back(unit_spec(kPage0, UnitType::PicBox, "图片框底图2", kBook, {0, 0, 800, 540}));
        w.units.push_back(unit_spec(kPage1, UnitType::PicBox, "图片框底图4", kBook, {0, 0, 800, 540}));
        for (auto [id, name, tag] : {std::tuple{kHot1, "透明标签页二_1", "2"}, std::tuple{kHot2, "透明标签页二_2", "2"}}) {
            auto h = unit_spec(id, UnitType::TransLabel, name, kPage0, {100 + int(id & 0xF) * 100, 100, 80, 30});
            h.tag = tag;
            h.cursor = kCursorHand;
            TransLabelBlock tb;
            h.type_block = encode(tb);
            h.bindings = {{-1, bind([this](const EventArgs& a) {
                               raised.emplace_back(event_unit().unit_id, a.event);
                               last = a;
                               return 0;
                           })}};
            w.units.push_back(h);
        }
        // A disabled label over the whole page, above the hotspots.
        auto cover = unit_spec(kCover, UnitType::TransLabel, "透明标签_遮罩", kPage0, {0, 0, 800, 540});
        cover.flags = kFlagVisible | kFlagDisabled;
        cover.bindings = {{-1, bind(record())}};
        w.units.push_back(cover);
        auto btn = unit_spec(kButton, UnitType::SuperBtn, "超级按钮_中文提示", 0, {200, 551, 40, 30});
        SuperBtnBlock sb;
        sb.toggle = 1;
        sb.caption = gbk("中文翻译关");
        sb.click_sound = click;
        btn.type_block = encode(sb);
        btn.flags = kFlagVisible | (button_disabled ? kFlagDisabled : 0);
        btn.bindings = {{0, bind([this](const EventArgs&) {
                             raised.emplace_back(kButton, 0);
                             sounds_at_click = static_cast<int>(tb::test::sound().played.size());
                             checked_at_click = get_int(kWin, kButton, prop::kBtnChecked);
                             return 0;
                         })}};
        w.units.push_back(btn);
        auto edit = unit_spec(kEdit, UnitType::EditBox, "编辑框40_1", 0, {300, 551, 100, 24});
        edit.bindings = {{0, bind(record())},
                         {-9, bind([this](const EventArgs& a) {
                              raised.emplace_back(kEdit, a.event);
                              last = a;
                              return 0;
                          })}};
        w.units.push_back(edit);
        auto check = unit_spec(kCheck, UnitType::CheckBox, "选择框打钩54_2", 0, {420, 551, 20, 20});
        check.bindings = {{0, bind([this](const EventArgs&) {
                               raised.emplace_back(kCheck, 0);
                               checked_at_click = get_int(kWin, kCheck, prop::kChecked);
                               return 0;
                           })}};
        w.units.push_back(check);
        auto mark = unit_spec(kMark, UnitType::PicBox, "图片框_正确", kPage0, {5, 5, 20, 20});
        mark.flags = 0;
        mark.bindings = {{-1, bind(record())}};
        w.units.push_back(mark);
        load({w});
        ASSERT_TRUE(show_window(kWin, false));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(control(kWin, 0)));
    }

    EventArgs last;
    int sounds_at_click = -1;
    int checked_at_click = -1;
};

}  // namespace

TEST_F(WidgetsEvents, DisabledLabelLetsPressesThroughToTheHotspot) {
    build();
    QWidget* hot = control(kWin, kHot1);
    ASSERT_TRUE(hot->isVisible());
    // Through the window, so that Qt picks the control under the point as for a real press.
    QWindow* win = control(kWin, 0)->windowHandle();
    QPoint at = hot->mapTo(control(kWin, 0), QPoint(40, 15));
    QTest::mousePress(win, Qt::LeftButton, Qt::ShiftModifier, at);
    QTest::mouseRelease(win, Qt::LeftButton, Qt::ShiftModifier, at);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0], (Raised{kHot1, -1}));
    EXPECT_EQ(last.x, 40);
    EXPECT_EQ(last.y, 15);
    EXPECT_EQ(last.key_state, 2);
    // With the cover enabled again it takes the press itself.
    set_property(kWin, kCover, prop::kDisabled, std::int32_t(0));
    raised.clear();
    QTest::mousePress(win, Qt::LeftButton, {}, at);
    QTest::mouseRelease(win, Qt::LeftButton, {}, at);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0].first, kCover);
}

TEST_F(WidgetsEvents, HotspotWithEmptyCaptionStillTakesPresses) {
    build();
    set_property(kWin, kHot2, prop::kTransCaption, Text());
    QTest::mousePress(control(kWin, kHot2), Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0], (Raised{kHot2, -1}));
    EXPECT_EQ(control(kWin, kHot2)->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(WidgetsEvents, PictureButtonPlaysThenTogglesThenRaises) {
    build();
    QTest::mouseClick(button(kWin, kButton), Qt::LeftButton);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(sounds_at_click, 1);     // the click sound started before the handler ran
    EXPECT_EQ(checked_at_click, 1);    // and the toggle flipped before it too
    EXPECT_EQ(tb::test::sound().played[0].bytes, click);
    QTest::mouseClick(button(kWin, kButton), Qt::LeftButton);
    EXPECT_EQ(checked_at_click, 0);
}

TEST_F(WidgetsEvents, DisabledPictureButtonPlaysNothingAndRaisesNothing) {
    build(true);
    QTest::mouseClick(button(kWin, kButton), Qt::LeftButton);
    EXPECT_TRUE(raised.empty());
    EXPECT_TRUE(tb::test::sound().played.empty());
    EXPECT_EQ(get_int(kWin, kButton, prop::kBtnChecked), 0);
    set_property(kWin, kButton, prop::kDisabled, std::int32_t(0));
    QTest::mouseClick(button(kWin, kButton), Qt::LeftButton);
    EXPECT_EQ(raised.size(), 1u);
}

TEST_F(WidgetsEvents, TurningPagesRaisesOneThenZero) {
    build();
    set_property(kWin, kBook, prop::kCurrentPage, std::int32_t(0));  // the page shown
    EXPECT_TRUE(raised.empty());
    set_property(kWin, kBook, prop::kCurrentPage, std::int32_t(1));
    EXPECT_EQ(raised, (std::vector<std::pair<std::uint32_t, int>>{{kBook, 1}, {kBook, 0}}));
    EXPECT_EQ(get_int(kWin, kBook, prop::kCurrentPage), 1);
    EXPECT_FALSE(control(kWin, kHot1)->isVisible());
    EXPECT_TRUE(control(kWin, kPage1)->isVisible());
    raised.clear();
    set_property(kWin, kBook, prop::kCurrentPage, std::int32_t(1));
    set_property(kWin, kBook, prop::kCurrentPage, std::int32_t(7));  // no such page
    EXPECT_TRUE(raised.empty());
}

TEST_F(WidgetsEvents, RefusedPageChangeDoesNotHappen) {
    build();
    on_page_leave = [] { return 1; };
    set_property(kWin, kBook, prop::kCurrentPage, std::int32_t(1));
    EXPECT_EQ(raised, (std::vector<std::pair<std::uint32_t, int>>{{kBook, 1}}));
    EXPECT_EQ(get_int(kWin, kBook, prop::kCurrentPage), 0);
    EXPECT_TRUE(control(kWin, kHot1)->isVisible());
    // The tabs refuse the same way and go back to the page shown.
    auto* tabs = control(kWin, kBook)->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    tabs->setCurrentIndex(1);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(get_int(kWin, kBook, prop::kCurrentPage), 0);
}

TEST_F(WidgetsEvents, EditBoxRaisesZeroOnTypingAndOnWrites) {
    build();
    auto* edit = qobject_cast<QLineEdit*>(control(kWin, kEdit));
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(edit->isVisible());
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString::fromUtf8("猫"), {});
    QTest::keyClicks(edit, "ab");
    EXPECT_EQ(get_text(kWin, kEdit, prop::kEditContent), gbk("猫ab"));
    std::size_t typed = std::count(raised.begin(), raised.end(), Raised{kEdit, 0});
    EXPECT_EQ(typed, 3u);
    raised.clear();
    set_property(kWin, kEdit, prop::kEditContent, gbk("狗"));
    EXPECT_EQ(raised, (std::vector<std::pair<std::uint32_t, int>>{{kEdit, 0}}));
}

TEST_F(WidgetsEvents, EnterKeyIsKeyCode13) {
    build();
    QTest::keyClick(control(kWin, kEdit), Qt::Key_Return, Qt::ControlModifier);
    ASSERT_FALSE(raised.empty());
    EXPECT_EQ(raised.back(), (Raised{kEdit, -9}));
    EXPECT_EQ(last.key_code, 13);
    EXPECT_EQ(last.key_state, 1);
}

TEST_F(WidgetsEvents, CheckBoxFlipsBeforeItsEvent) {
    build();
    QTest::mouseClick(control(kWin, kCheck), Qt::LeftButton, {}, QPoint(8, 10));
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(checked_at_click, 1);
    // A write of the state by the program is no click.
    set_property(kWin, kCheck, prop::kChecked, std::int32_t(0));
    EXPECT_EQ(raised.size(), 1u);
}

TEST_F(WidgetsEvents, CopyStartsHiddenRaisesNothingAndSitsBehindItsSource) {
    build();
    set_property(kWin, kMark, prop::kVisible, std::int32_t(1));
    UnitRef copy = copy_unit({kWin, kMark, static_cast<std::uint32_t>(UnitType::PicBox)});
    ASSERT_NE(copy.unit_id, 0u);
    EXPECT_EQ(copy.type_code, static_cast<std::uint32_t>(UnitType::PicBox));
    QWidget* c = control(kWin, copy.unit_id);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->isHidden());
    EXPECT_EQ(c->parentWidget(), control(kWin, kMark)->parentWidget());
    set_property(kWin, copy.unit_id, prop::kVisible, std::int32_t(1));
    set_property(kWin, copy.unit_id, prop::kLeft, std::int32_t(300));
    set_property(kWin, copy.unit_id, prop::kTag, std::int32_t(90));
    QTest::mousePress(c, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(raised.empty());  // the source's binding did not come along
    // Drawn right behind the source.
    auto kids = c->parentWidget()->children();
    EXPECT_EQ(kids.indexOf(c) + 1, kids.indexOf(control(kWin, kMark)));
    // Found by collection under its new tag, after the source in stored order.
    auto marks = collect_units(kWin, gbk("图片框_正确"));
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[1].unit_id, copy.unit_id);
    EXPECT_EQ(collect_units(kWin, {}, {}, 90, 90).size(), 1u);
    // Destroyed: control and record go.
    destroy(copy);
    EXPECT_EQ(control(kWin, copy.unit_id), nullptr);
    EXPECT_EQ(collect_units(kWin, gbk("图片框_正确")).size(), 1u);
    EXPECT_FALSE(find_window(kWin)->record_of(copy.unit_id));
}

TEST_F(WidgetsEvents, CopyOfTheWindowFails) {
    build();
    EXPECT_EQ(copy_unit({kWin, 0, 0}).unit_id, 0u);
    EXPECT_EQ(copy_unit({kWin, 0x16777777, 0}).unit_id, 0u);
}

TEST_F(WidgetsEvents, CollectionKeepsStoredOrderAndFilters) {
    build();
    auto all = collect_units(kWin);
    ASSERT_EQ(all.size(), 10u);
    EXPECT_EQ(all.front().unit_id, kBook);
    EXPECT_EQ(all.back().unit_id, kMark);
    auto hot = collect_units(kWin, {}, gbk("透明标签"), 2, 2);
    ASSERT_EQ(hot.size(), 2u);
    EXPECT_EQ(hot[0].unit_id, kHot1);
    EXPECT_EQ(hot[1].unit_id, kHot2);
    EXPECT_EQ(collect_units(kWin, gbk("透明标签页二")).size(), 2u);
    EXPECT_EQ(collect_units(kWin, gbk("透明标签")).size(), 3u);
    EXPECT_EQ(collect_units(kWin, {}, gbk("透明标签"), 3).size(), 0u);
    destroy({kWin, kPage0, 0});  // the page picture and the units on it
    EXPECT_EQ(collect_units(kWin, {}, gbk("透明标签")).size(), 0u);
    EXPECT_EQ(collect_units(kWin).size(), 5u);
    destroy_window(kWin);
    EXPECT_TRUE(collect_units(kWin).empty());
}

TEST_F(WidgetsEvents, EventUnitOutsideAHandlerIsARuntimeError) {
    try {
        event_unit();
        FAIL() << "event_unit outside a handler must fail";
    } catch (const RuntimeErrorRaised& e) {
        EXPECT_EQ(e.message, gbk("“取事件组件”命令只能在事件处理子程序中使用"));
    }
}

TEST_F(WidgetsEvents, HandlerErrorsAreKeptForTheTest) {
    auto w = window_spec(kWin);
    auto b = unit_spec(kButton, UnitType::Button, "按钮开始");
    b.bindings = {{0, bind([](const EventArgs&) -> int {
                       raise_runtime_error(errcode::kTypeMismatch, msg::kTypeMismatch);
                   })}};
    w.units.push_back(b);
    load({w});
    ASSERT_TRUE(show_window(kWin, false));
    QTest::mouseClick(button(kWin, kButton), Qt::LeftButton);
    auto e = handler_error();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->code, errcode::kTypeMismatch);
    EXPECT_EQ(e->message, gbk("数据或数组类型不匹配"));
}

TEST_F(WidgetsEvents, DestroyingAWindowFromItsHandlerThenShowingItModallyIsSafe) {
    // The full-screen button's way: close the window from its own button, build it anew, modally.
    int created = 0;
    int rounds = 0;
    auto w = window_spec(kWin);
    w.units[0].bindings = {{0, bind([&](const EventArgs&) {
                                ++created;
                                return 0;
                            })}};
    auto b = unit_spec(kButton, UnitType::SuperBtn, "超级按钮_全屏");
    const auto click_it = [this] { QTest::mouseClick(button(kWin, kButton), Qt::LeftButton); };
    b.bindings = {{0, bind(rebuild_modally(rounds, 3, click_it))}};
    w.units.push_back(b);
    load({w});
    ASSERT_TRUE(show_window(kWin, false));
    click_it();
    EXPECT_EQ(rounds, 3);
    EXPECT_EQ(created, 4);
    EXPECT_FALSE(window_shown(kWin));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(WidgetsEvents, DestroyingAWindowFromAPressOnItsLabelThenShowingItModallyIsSafe) {
    // A press reaches the handler before Qt has finished delivering it to the label.
    constexpr std::uint32_t kHot = 0x16000011;
    int presses = 0;
    auto w = window_spec(kWin);
    auto hot = unit_spec(kHot, UnitType::TransLabel, "透明标签页二_1");
    const auto press_it = [this] { QTest::mousePress(control(kWin, kHot), Qt::LeftButton, {}, QPoint(2, 2)); };
    hot.bindings = {{-1, bind(rebuild_modally(presses, 2, press_it))}};
    w.units.push_back(hot);
    load({w});
    ASSERT_TRUE(show_window(kWin, false));
    press_it();
    EXPECT_EQ(presses, 2);
    EXPECT_FALSE(window_shown(kWin));
}

// The child of the death test: the program's own reporter, a handler that fails.
void fail_in_a_handler() {
    set_runtime_error_reporter(nullptr);  // the program's own: box, then exit -1
    auto w = window_spec(kWin);
    w.units[0].bindings = {{0, 0}};
    static Blob bytes = write_template_set({w});
    load_templates(bytes);
    static const Handler table[] = {[](const EventArgs&) -> int {
        raise_runtime_error(errcode::kIndexOutOfRange, msg::kIndexOutOfRange);
    }};
    set_handler_table(table);
    show_window(kWin, false);
    std::exit(0);
}

TEST(WidgetsDeath, RuntimeErrorInAHandlerEndsTheProgramWithMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(fail_in_a_handler(), testing::ExitedWithCode(255), "");
}

TEST_F(WidgetsEvents, PopUpFollowsTheMouseWhileDraggedAndStaysWhereDropped) {
    QWidget* label = press_draggable_popup("1");
    ASSERT_NE(label, nullptr);
    QWidget* frame = control(kWin, 0);
    move_mouse(label, frame, {205, 106}, Qt::LeftButton);
    EXPECT_EQ(label->pos(), QPoint(200, 100));
    EXPECT_EQ(get_int(kWin, kPopup, prop::kLeft), 200);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(5, 6));
    move_mouse(label, frame, {405, 306}, Qt::NoButton);
    EXPECT_EQ(label->pos(), QPoint(200, 100));
}

TEST_F(WidgetsEvents, DraggedPopUpStaysInsideItsWindow) {
    QWidget* label = press_draggable_popup();
    ASSERT_NE(label, nullptr);
    QWidget* parent = label->parentWidget();
    ASSERT_NE(parent, nullptr);
    move_mouse(label, parent, {-300, -200}, Qt::LeftButton);
    EXPECT_EQ(label->pos(), QPoint(0, 0));
    move_mouse(label, parent, {5000, 4000}, Qt::LeftButton);
    EXPECT_EQ(label->pos(), QPoint(parent->width() - 40, parent->height() - 24));
    EXPECT_TRUE(parent->rect().contains(label->geometry()));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(5, 6));
}

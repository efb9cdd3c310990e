// Fill-in boxes and tick boxes printed on pages: judged at once, with a tick or a cross beside
// them, the offer to show the answer, and the marks hidden when the page is turned.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "content/catalogue.hpp"
#include "content/tables.hpp"
#include "support/fakes.hpp"
#include "support/carried_templates.hpp"
#include "support/main_window_fixture.hpp"
#include "support/widget_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using tb::test::MainWindowTest;
namespace mw = tb::ids::main_window;

namespace {

enum class Mark { Right, Wrong };

struct Shown {
    Mark mark;
    int left, top;
};

// The answer marks on screen.
std::vector<Shown> visible_marks() {
    const Blob right = [] {
        auto p = catalogue::mark_picture(true);
        return Blob(p.begin(), p.end());
    }();
    std::vector<Shown> out;
    for (const UnitRef& u : collect_units(mw::window, {}, {}, 90, 90)) {
        if (get_int(mw::window, u.unit_id, prop::kVisible) == 0) continue;
        const Blob picture = std::get<Blob>(get_property(mw::window, u.unit_id, prop::kPicPicture));
        out.push_back({picture == right ? Mark::Right : Mark::Wrong, get_int(mw::window, u.unit_id, prop::kLeft),
                       get_int(mw::window, u.unit_id, prop::kTop)});
    }
    return out;
}

class PageExercises : public MainWindowTest {
protected:
    void go_to_page(int k) {
        while (page() < k) click(mw::超级按钮_下一页);
        ASSERT_EQ(page(), k);
    }
    void type(std::uint32_t box, const std::string& keys) {
        for (char c : keys) QTest::keyClick(control(box), c);
    }
    // Fill-in box n of printed page 6, the page the tests turn to, and the answer it takes.
    struct FillIn {
        std::uint32_t box;
        std::string answer;
    };
    FillIn fill_in_box(int n) {
        return {unit_named(("编辑框6_" + std::to_string(n)).c_str()), *content::fill_in_answer(6, n)};
    }
    Text text_in(std::uint32_t box) { return get_text(mw::window, box, prop::kEditContent); }
    static int question_boxes() {
        int n = 0;
        for (const auto& b : test::boxes().shown) n += utf8(b.text) == "答案填写不正确！是否提示正确答案？";
        return n;
    }
};

}  // namespace

TEST_F(PageExercises, AFillInBoxIsJudgedOnlyWhenTheLengthMatches) {
    go_to_page(2);  // printed page 6
    const auto [box, answer] = fill_in_box(1);
    ASSERT_GE(answer.size(), 2u);
    type(box, answer.substr(0, answer.size() - 1));
    EXPECT_TRUE(visible_marks().empty());
    type(box, answer.substr(answer.size() - 1));
    const auto marks = visible_marks();
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].mark, Mark::Right);
    EXPECT_EQ(marks[0].left, get(box, prop::kLeft) + get(box, prop::kWidth) + 5);
    EXPECT_EQ(marks[0].top, get(box, prop::kTop) - 20);
    EXPECT_EQ(question_boxes(), 0);
    EXPECT_EQ(view().answer_marks_shown, 1);
}

TEST_F(PageExercises, OneCharacterTooManyIsACrossAndTheOffer) {
    go_to_page(2);
    const auto [box, answer] = fill_in_box(2);
    test::boxes().answers = {kMsgNo};
    type(box, answer + "s");
    ASSERT_EQ(question_boxes(), 1);
    const auto& asked = test::boxes().shown.back();
    EXPECT_EQ(utf8(asked.caption), "答案不正确！");
    EXPECT_EQ(asked.buttons, MsgButtons::YesNo);
    EXPECT_EQ(asked.icon, MsgIcon::Question);
    const auto marks = visible_marks();
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].mark, Mark::Wrong);
    EXPECT_EQ(text_in(box), answer + "s");
}

TEST_F(PageExercises, CapitalsAndBlanksCount) {
    go_to_page(2);
    const auto [box, answer] = fill_in_box(3);
    std::string capital = answer;
    capital[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(capital[0])));
    ASSERT_NE(capital, answer);
    test::boxes().answers = {kMsgNo, kMsgNo, kMsgNo};
    type(box, capital);
    EXPECT_EQ(question_boxes(), 1);
    EXPECT_EQ(visible_marks().at(0).mark, Mark::Wrong);

    // A blank before the right word: wrong when the length matches, and again when too long.
    const auto [other, other_answer] = fill_in_box(4);
    type(other, " " + other_answer);
    EXPECT_EQ(question_boxes(), 3);
}

TEST_F(PageExercises, YesPutsTheAnswerInAndTicksIt) {
    go_to_page(2);
    const auto [box, answer] = fill_in_box(1);
    test::boxes().answers = {kMsgYes};
    type(box, std::string(answer.size(), 'z'));
    EXPECT_EQ(question_boxes(), 1);
    EXPECT_EQ(text_in(box), answer);
    const auto marks = visible_marks();
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].mark, Mark::Right);
}

TEST_F(PageExercises, NoLeavesTheWrongTextAndTheCross) {
    go_to_page(2);
    const auto [box, answer] = fill_in_box(1);
    test::boxes().answers = {kMsgNo};
    const std::string wrong(answer.size(), 'z');
    type(box, wrong);
    EXPECT_EQ(text_in(box), wrong);
    EXPECT_EQ(visible_marks().at(0).mark, Mark::Wrong);
}

TEST_F(PageExercises, TickBoxesAreJudgedOnEveryClick) {
    click(mw::超级按钮_下一页);  // printed page 4
    const std::uint32_t must = unit_named("选择框打钩4_1");
    ASSERT_EQ(content::tick_expected(4, 1), 1);
    click(must);
    ASSERT_EQ(visible_marks().size(), 1u);
    EXPECT_EQ(visible_marks()[0].mark, Mark::Right);
    EXPECT_EQ(visible_marks()[0].left, get(must, prop::kLeft) + 20);
    EXPECT_EQ(visible_marks()[0].top, get(must, prop::kTop));
    click(must);  // unticked: wrong
    EXPECT_EQ(visible_marks().at(0).mark, Mark::Wrong);
    click(must);
    EXPECT_EQ(visible_marks().at(0).mark, Mark::Right);

    const std::uint32_t empty = unit_named("选择框打钩4_3");
    ASSERT_EQ(content::tick_expected(4, 3), 0);
    click(empty);
    ASSERT_EQ(visible_marks().size(), 2u);
    EXPECT_EQ(visible_marks()[1].mark, Mark::Wrong);
}

TEST_F(PageExercises, TurningThePageHidesEveryMarkAndKeepsTheBoxes) {
    go_to_page(2);
    const auto [box, answer] = fill_in_box(1);
    type(box, answer);
    ASSERT_EQ(visible_marks().size(), 1u);
    click(mw::超级按钮_下一页);
    EXPECT_TRUE(visible_marks().empty());
    click(mw::超级按钮_上一页);
    EXPECT_TRUE(visible_marks().empty());
    EXPECT_EQ(text_in(box), answer);
    // The course choice hides them too.
    test::boxes().answers = {kMsgNo};
    type(box, "x");
    EXPECT_EQ(visible_marks().size(), 1u);
    choose_course(1);
    EXPECT_TRUE(visible_marks().empty());
}

TEST_F(PageExercises, TheDrillPageHidesTheMarks) {
    go_to_page(2);
    type(unit_named("编辑框6_1"), *content::fill_in_answer(6, 1));
    ASSERT_EQ(visible_marks().size(), 1u);
    click(mw::超级按钮_背单词);
    EXPECT_TRUE(visible_marks().empty());
}

// The real question box: a key typed on after the text grew too long, or a key held down, does
// not answer it; a key pressed once the box has been up a moment does.
TEST_F(PageExercises, KeysTypedAheadOrHeldDoNotAnswerTheQuestionBox) {
    go_to_page(2);
    const auto [box, answer] = fill_in_box(2);
    set_message_box(show_message_box);
    bool stayed_open = false;
    QTimer::singleShot(0, [&] {
        QWidget* question = QApplication::activeModalWidget();
        ASSERT_NE(question, nullptr);
        QWidget* keys = question->focusWidget() ? question->focusWidget() : question;
        QTest::keyClick(keys, Qt::Key_Y);  // typed ahead: "...xy"
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, {}, QStringLiteral("\r"), true);
        test::fake_time().now_ms += 1000;
        QApplication::sendEvent(keys, &held);
        QCoreApplication::processEvents();
        stayed_open = question->isVisible();
        QTest::keyClick(keys, Qt::Key_N);
    });
    type(box, answer + "x");
    EXPECT_TRUE(stayed_open);
    EXPECT_EQ(text_in(box), answer + "x");  // answered No: the pupil's text stays
    ASSERT_EQ(visible_marks().size(), 1u);
    EXPECT_EQ(visible_marks()[0].mark, Mark::Wrong);
}

TEST_F(PageExercises, AnHourOfTypingDoesNotPileUpMarks) {
    go_to_page(2);
    const auto [box, answer] = fill_in_box(1);
    auto* edit = qobject_cast<QLineEdit*>(control(box));
    ASSERT_NE(edit, nullptr);
    for (int i = 0; i < 200; ++i) {
        type(box, answer);
        edit->clear();
    }
    EXPECT_EQ(collect_units(mw::window, {}, {}, 90, 90).size(), 1u);
}

namespace {
class UnansweredBoxes : public tb::test::WidgetTest {};
}  // namespace

// A box the content tables hold no answer for is a fault of the build: the handlers stop with the
// run-time error instead of judging against an empty answer.
TEST_F(UnansweredBoxes, AreARunTimeErrorNotAnEmptyAnswer) {
    ASSERT_FALSE(content::fill_in_answer(6, 9));
    ASSERT_FALSE(content::tick_expected(4, 9));
    bind_at(tb::test::handler_page_fill_in_changed, &::page_fill_in_changed);
    bind_at(tb::test::handler_page_tick_clicked, &::page_tick_clicked);
    constexpr std::uint32_t kWindow = 0x52000017, kEdit = 0x0D000001, kTick = 0x0D000002;
    auto w = tb::test::window_spec(kWindow);
    auto edit = tb::test::unit_spec(kEdit, UnitType::EditBox, "编辑框6_9");
    edit.bindings = {{0, tb::test::handler_page_fill_in_changed}};
    auto tick = tb::test::unit_spec(kTick, UnitType::CheckBox, "选择框打钩4_9", 0, {10, 50, 100, 30});
    tick.bindings = {{0, tb::test::handler_page_tick_clicked}};
    w.units = {w.units[0], edit, tick};
    load({w});
    ASSERT_TRUE(show_window(kWindow, false));

    QTest::keyClick(control(kWindow, kEdit), Qt::Key_A);  // typed, as the pupil does
    auto e = handler_error();
    ASSERT_TRUE(e);
    EXPECT_EQ(utf8(e->message), "数组成员访问越界");

    QTest::mouseClick(button(kWindow, kTick), Qt::LeftButton, {}, QPoint(8, 15));  // on the square
    e = handler_error();
    ASSERT_TRUE(e);
    EXPECT_EQ(utf8(e->message), "数组成员访问越界");
}

// The word drill on the real main window: opening and leaving the drill page, runs typed through
// the keyboard in textbook and random order, the marks, the summary, the error record, the
// buttons' states, resets by the two choices, the show-Chinese switch and the diagnostic log.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>
#include <cctype>

#include "content/mistakes.hpp"
#include "content/catalogue.hpp"
#include "content/tables.hpp"
#include "drills/word_drill_ui.hpp"
#include "support/fakes.hpp"
#include "support/log_capture.hpp"
#include "support/main_window_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using namespace tb::test;  // the fixture, its fakes, and mw:: for the main window's units

namespace {

struct LessonWords {
    std::vector<Text> words;
    std::vector<Text> meanings;
    std::vector<Clip> clips;
};

LessonWords lesson(int k) {
    LessonWords l;
    const std::vector<Text> lines = split(content::lesson_text(k), "\r\n");
    for (std::size_t i = 0; i < lines.size(); ++i) (i % 2 == 0 ? l.words : l.meanings).push_back(lines[i]);
    l.clips = catalogue::drill_clips(k);
    return l;
}

std::string caption(std::uint32_t unit) { return utf8(get_text(mw::window, unit, prop::kTransCaption)); }
std::string record_box() { return utf8(get_text(mw::window, mw::编辑框错误记录, prop::kEditContent)); }
std::string summary() { return caption(mw::透明标签单词总数和错误); }

class WordDrillPage : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        click(mw::超级按钮_背单词);
        ASSERT_EQ(page(), 36);
    }

    static QLineEdit* answer_box() { return qobject_cast<QLineEdit*>(control(mw::编辑框背单词)); }
    static bool visible(std::uint32_t unit) { return get(unit, prop::kVisible) != 0; }

    // Typing into the answer box as the pupil does: it must be there to type in.
    static void type(const Text& ascii) {
        QLineEdit* box = answer_box();
        ASSERT_TRUE(box->isVisible() && box->isEnabled());
        QTest::keyClicks(box, QString::fromLatin1(ascii.data(), static_cast<int>(ascii.size())));
    }
    static void enter() { QTest::keyClick(answer_box(), Qt::Key_Return); }
    static void answer(const Text& ascii) {
        type(ascii);
        enter();
    }
    static void pick(std::uint32_t combo, int item) {
        auto* c = qobject_cast<QComboBox*>(control(combo));
        ASSERT_NE(c, nullptr);
        c->setCurrentIndex(item);
        emit c->activated(item);
    }

    // The number (from 1) of the lesson word whose clip was played last, 0 for none.
    static int asked(const LessonWords& l) {
        if (test::sound().played.empty()) return 0;
        const auto& last = test::sound().played.back().bytes;
        for (std::size_t i = 0; i < l.clips.size(); ++i)
            if (std::equal(last.begin(), last.end(), l.clips[i].begin(), l.clips[i].end())) return static_cast<int>(i) + 1;
        return 0;
    }
    // Answers every word still to come right, and returns the numbers asked, in order.
    std::vector<int> answer_the_rest(const LessonWords& l) {
        std::vector<int> order;
        while (visible(mw::编辑框背单词) && enabled(mw::超级按钮b_确定背单词)) {
            const int n = asked(l);
            if (n == 0) break;
            order.push_back(n);
            answer(l.words[static_cast<std::size_t>(n - 1)]);
        }
        return order;
    }

    void expect_finished_state() {
        EXPECT_TRUE(enabled(mw::超级按钮b_开始));
        for (std::uint32_t b : {mw::超级按钮b_确定背单词, mw::超级按钮b_下一题, mw::超级按钮b_再听一遍}) EXPECT_FALSE(enabled(b));
        EXPECT_FALSE(visible(mw::编辑框背单词));
        EXPECT_TRUE(visible(mw::编辑框错误记录));
        ASSERT_EQ(test::boxes().shown.size(), 1u);
        EXPECT_EQ(utf8(test::boxes().shown[0].text), "已经是本课时的最后一个单词了！");
    }
};

std::vector<int> one_to(int n) {
    std::vector<int> v;
    for (int i = 1; i <= n; ++i) v.push_back(i);
    return v;
}

}  // namespace

TEST_F(WordDrillPage, StartSetsUpTheRunAndAsksTheFirstWord) {
    const LessonWords u1 = lesson(1);
    ASSERT_EQ(u1.words.size(), 19u);
    click(mw::超级按钮b_开始);
    const Font f = std::get<Font>(get_property(mw::window, mw::编辑框背单词, prop::kEditFont));
    EXPECT_EQ(utf8(f.face), "宋体");
    EXPECT_EQ(f.size_pt, 22);
    EXPECT_FALSE(f.bold || f.italic || f.underline || f.strike_out || f.angle != 0);
    EXPECT_FALSE(enabled(mw::超级按钮b_开始));
    for (std::uint32_t b : {mw::超级按钮b_确定背单词, mw::超级按钮b_下一题, mw::超级按钮b_再听一遍}) EXPECT_TRUE(enabled(b));
    EXPECT_TRUE(visible(mw::编辑框背单词));
    EXPECT_TRUE(enabled(mw::编辑框背单词));
    EXPECT_FALSE(visible(mw::编辑框错误记录));
    EXPECT_EQ(answer_box()->window()->focusWidget(), answer_box());
    EXPECT_EQ(summary(), "Unit 1共19个单词。目前错误0个");
    EXPECT_EQ(asked(u1), 1);
    EXPECT_EQ(caption(mw::透明标签_背单词的汉语翻译), utf8(u1.meanings[0]));
    EXPECT_EQ(caption(mw::透明标签_对错判断), "");
}

TEST_F(WordDrillPage, TextbookOrderAsksOneToNAndAFaultlessRunLeavesAnEmptyRecord) {
    const LessonWords u1 = lesson(1);
    click(mw::超级按钮b_开始);
    EXPECT_EQ(answer_the_rest(u1), one_to(19));
    EXPECT_EQ(caption(mw::透明标签_对错判断), "√");
    expect_finished_state();
    EXPECT_EQ(summary(), "Unit 1共19个单词。共错误0个");
    EXPECT_EQ(record_box(), "");
    // Nineteen clips, each once, and a stop before every check.
    EXPECT_EQ(test::sound().played.size(), 19u);
    EXPECT_GE(test::sound().stops, 19);
}

TEST_F(WordDrillPage, RandomOrderAsksEveryWordOnceAndAnotherOrderNextRun) {
    const LessonWords u2 = lesson(2);
    pick(mw::组合框_背单词课时选择, 1);
    pick(mw::组合框_背单词顺序选择, 1);  // "随机顺序"
    click(mw::超级按钮b_开始);
    EXPECT_EQ(summary(), "Unit 2共28个单词。目前错误0个");
    std::vector<int> first = answer_the_rest(u2);
    std::vector<int> sorted = first;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, one_to(28));
    click(mw::超级按钮b_开始);
    std::vector<int> second = answer_the_rest(u2);
    EXPECT_NE(second, first);
    std::sort(second.begin(), second.end());
    EXPECT_EQ(second, one_to(28));
}

TEST_F(WordDrillPage, ARunWithThreeErrorsEndsWithThemInTheRecord) {
    const LessonWords u1 = lesson(1);
    auto word = [&](int n) { return u1.words[static_cast<std::size_t>(n - 1)]; };
    click(mw::超级按钮b_开始);
    answer(word(1));
    EXPECT_EQ(caption(mw::透明标签_对错判断), "√");
    // Word 2 skipped: an error, though the tick of word 1 stays.
    click(mw::超级按钮b_下一题);
    EXPECT_EQ(caption(mw::透明标签_对错判断), "√");
    EXPECT_EQ(summary(), "Unit 1共19个单词。目前错误1个");
    EXPECT_EQ(asked(u1), 3);
    EXPECT_EQ(answer_box()->window()->focusWidget(), answer_box());
    // Word 3 with its first letter in the other case.
    Text other_case = word(3);
    other_case[0] = static_cast<char>(std::isupper(static_cast<unsigned char>(other_case[0])) ? std::tolower(other_case[0])
                                                                                              : std::toupper(other_case[0]));
    answer(other_case);
    EXPECT_EQ(caption(mw::透明标签_对错判断), "×");
    EXPECT_EQ(answer_box()->text(), "");
    // Word 4 followed by a space, confirmed with the button.
    type(word(4) + " ");
    click(mw::超级按钮b_确定背单词);
    EXPECT_EQ(caption(mw::透明标签_对错判断), "×");
    EXPECT_EQ(summary(), "Unit 1共19个单词。目前错误3个");
    answer_the_rest(u1);
    EXPECT_EQ(caption(mw::透明标签_对错判断), "√");
    expect_finished_state();
    EXPECT_EQ(summary(), "Unit 1共19个单词。共错误3个");
    auto record = [&](int n) {
        return utf8(word(n)) + utf8(u1.meanings[static_cast<std::size_t>(n - 1)]) + "\r\n\r\n";
    };
    EXPECT_EQ(record_box(), record(2) + record(3) + record(4));
}

TEST_F(WordDrillPage, AnEmptyAnswerIsWrongAndRecorded) {
    const LessonWords u6 = lesson(6);
    pick(mw::组合框_背单词课时选择, 5);
    click(mw::超级按钮b_开始);
    enter();
    EXPECT_EQ(caption(mw::透明标签_对错判断), "×");
    EXPECT_EQ(summary(), "Unit 6共14个单词。目前错误1个");
    click(mw::超级按钮b_确定背单词);
    EXPECT_EQ(summary(), "Unit 6共14个单词。目前错误2个");
    answer_the_rest(u6);
    EXPECT_EQ(record_box(), utf8(u6.words[0] + u6.meanings[0] + "\r\n\r\n" + u6.words[1] + u6.meanings[1] + "\r\n\r\n"));
}

TEST_F(WordDrillPage, EnterHeldDownIsOneAnswer) {
    pick(mw::组合框_背单词课时选择, 5);
    click(mw::超级按钮b_开始);
    QTest::keyPress(answer_box(), Qt::Key_Return);
    for (int i = 0; i < 12; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, {}, QStringLiteral("\r"), true);
        QApplication::sendEvent(answer_box(), &repeat);
    }
    // As the X server reports a held key: a release and a press of the same time stamp, not
    // marked as a repeat.
    for (quint64 t = 5000; t < 5400; t += 33) {
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Return, {}, QStringLiteral("\r"));
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Return, {}, QStringLiteral("\r"));
        up.setTimestamp(t);
        down.setTimestamp(t);
        QApplication::sendEvent(answer_box(), &up);
        QApplication::sendEvent(answer_box(), &down);
    }
    QTest::keyRelease(answer_box(), Qt::Key_Return);
    EXPECT_EQ(summary(), "Unit 6共14个单词。目前错误1个");
    // Let go and pressed again, it is the next answer.
    QKeyEvent again(QEvent::KeyPress, Qt::Key_Return, {}, QStringLiteral("\r"));
    again.setTimestamp(6000);
    QApplication::sendEvent(answer_box(), &again);
    EXPECT_EQ(summary(), "Unit 6共14个单词。目前错误2个");
}

TEST_F(WordDrillPage, ListenAgainReplaysTheWordBeingAsked) {
    const LessonWords u1 = lesson(1);
    click(mw::超级按钮b_开始);
    answer(u1.words[0]);
    const int stops = test::sound().stops;
    click(mw::超级按钮b_再听一遍);
    EXPECT_EQ(test::sound().stops, stops + 1);
    ASSERT_EQ(test::sound().played.size(), 3u);
    EXPECT_EQ(asked(u1), 2);
    EXPECT_EQ(answer_box()->window()->focusWidget(), answer_box());
}

TEST_F(WordDrillPage, ALessonOrOrderChangeMidRunEmptiesTheRecordAndOffersStartAgain) {
    const LessonWords u1 = lesson(1);
    click(mw::超级按钮b_开始);
    answer("wrong");
    for (std::uint32_t combo : {mw::组合框_背单词课时选择, mw::组合框_背单词顺序选择}) {
        pick(combo, 1);
        EXPECT_TRUE(enabled(mw::超级按钮b_开始));
        for (std::uint32_t b : {mw::超级按钮b_确定背单词, mw::超级按钮b_下一题, mw::超级按钮b_再听一遍}) EXPECT_FALSE(enabled(b));
        EXPECT_TRUE(visible(mw::编辑框背单词));
        EXPECT_TRUE(enabled(mw::编辑框背单词));  // left as it was
        EXPECT_FALSE(visible(mw::编辑框错误记录));
    }
    // The summary keeps the old counts until a word is asked again.
    EXPECT_EQ(summary(), "Unit 1共19个单词。目前错误1个");
    click(mw::超级按钮b_开始);
    EXPECT_EQ(summary(), "Unit 2共28个单词。目前错误0个");
}

// After a reset in the middle of a run the answer box stays enabled, but Enter does nothing until
// the next start: confirm is disabled then, and Enter is the keyboard's confirm.
TEST_F(WordDrillPage, EnterAfterAMidRunResetIsIgnoredUntilTheNextStart) {
    const LessonWords u1 = lesson(1);
    click(mw::超级按钮b_开始);
    answer(u1.words[0]);
    pick(mw::组合框_背单词顺序选择, 1);
    const std::size_t played = test::sound().played.size();
    const int stops = test::sound().stops;
    type(u1.words[1]);  // the word being asked
    enter();
    type("x");
    enter();
    EXPECT_EQ(test::sound().played.size(), played);
    EXPECT_EQ(test::sound().stops, stops);
    EXPECT_EQ(caption(mw::透明标签_对错判断), "√");
    EXPECT_EQ(summary(), "Unit 1共19个单词。目前错误0个");
    EXPECT_FALSE(enabled(mw::超级按钮b_下一题));
    EXPECT_TRUE(test::boxes().shown.empty());
    // The next start begins a new run that counts from nothing.
    click(mw::超级按钮b_开始);
    EXPECT_EQ(summary(), "Unit 1共19个单词。目前错误0个");
    EXPECT_EQ(answer_box()->text(), "");
}

TEST_F(WordDrillPage, AChangeAfterTheEndHidesTheRecordAndShowsTheAnswerBox) {
    pick(mw::组合框_背单词课时选择, 5);
    click(mw::超级按钮b_开始);
    for (int i = 0; i < 14; ++i) click(mw::超级按钮b_下一题);
    ASSERT_TRUE(visible(mw::编辑框错误记录));
    EXPECT_EQ(summary(), "Unit 6共14个单词。共错误14个");
    pick(mw::组合框_背单词课时选择, 0);
    EXPECT_FALSE(visible(mw::编辑框错误记录));
    EXPECT_TRUE(visible(mw::编辑框背单词));
    EXPECT_TRUE(enabled(mw::超级按钮b_开始));
}

TEST_F(WordDrillPage, TheMeaningStaysHiddenAcrossRunsWhileTheSwitchIsOff) {
    const LessonWords u1 = lesson(1);
    click(mw::选择框_是否显示中文);
    EXPECT_FALSE(visible(mw::透明标签_背单词的汉语翻译));
    click(mw::超级按钮b_开始);
    EXPECT_FALSE(visible(mw::透明标签_背单词的汉语翻译));
    EXPECT_EQ(caption(mw::透明标签_背单词的汉语翻译), utf8(u1.meanings[0]));
    pick(mw::组合框_背单词顺序选择, 1);
    click(mw::超级按钮b_开始);
    answer_the_rest(u1);
    click(mw::超级按钮b_开始);
    EXPECT_FALSE(visible(mw::透明标签_背单词的汉语翻译));
    click(mw::选择框_是否显示中文);
    EXPECT_TRUE(visible(mw::透明标签_背单词的汉语翻译));
    EXPECT_EQ(caption(mw::透明标签_背单词的汉语翻译), utf8(u1.meanings[static_cast<std::size_t>(asked(u1) - 1)]));
}

TEST_F(WordDrillPage, ALessonChoiceWithoutALessonNumberEndsTheRunAtOnce) {
    set(mw::组合框_背单词课时选择, prop::kComboSelection, -1);  // nothing selected: item data -1
    click(mw::超级按钮b_开始);
    expect_finished_state();
    EXPECT_EQ(summary(), "共0个单词。共错误0个");
    EXPECT_EQ(record_box(), "");
    EXPECT_TRUE(test::sound().played.empty());
}

TEST_F(WordDrillPage, OpeningStopsTheSoundAndLeavingReturnsToThePageCursor) {
    click(mw::超级按钮b_退出背单词);
    EXPECT_EQ(page(), 0);
    choose_course(2);  // "Unit 3": page 10
    click(mw::超级按钮_下一页);
    ASSERT_EQ(page(), 11);
    const int stops = test::sound().stops;
    click(mw::超级按钮_背单词);
    EXPECT_EQ(test::sound().stops, stops + 1);
    EXPECT_EQ(page(), 36);
    EXPECT_EQ(view().page_cursor, 11);
    EXPECT_EQ(spread().current_sentences.count(), 0);
    EXPECT_EQ(spread().current_sounds.count(), 0);
    click(mw::超级按钮b_开始);
    click(mw::超级按钮b_退出背单词);
    EXPECT_EQ(page(), 11);
    EXPECT_GT(spread().current_sounds.count(), 0);
    // Coming back finds the run where it was, ready to type into.
    click(mw::超级按钮_背单词);
    EXPECT_FALSE(enabled(mw::超级按钮b_开始));
    EXPECT_EQ(summary(), "Unit 1共19个单词。目前错误0个");
    EXPECT_EQ(answer_box()->window()->focusWidget(), answer_box());
}

TEST_F(WordDrillPage, EveryStepOfARunShowsInTheDiagnosticLog) {
    test::LogCapture log;
    const LessonWords u6 = lesson(6);
    pick(mw::组合框_背单词课时选择, 5);
    click(mw::超级按钮b_开始);
    answer(u6.words[0]);
    click(mw::超级按钮b_再听一遍);
    for (int i = 1; i < 14; ++i) click(mw::超级按钮b_下一题);
    for (const char* line :
         {"events event drill_lesson_changed 组合框_背单词课时选择", "events event drill_start_clicked 超级按钮b_开始",
          "events event drill_answer_key 编辑框背单词", "events event drill_listen_clicked 超级按钮b_再听一遍",
          "events event drill_skip_clicked 超级按钮b_下一题", "ui caption 透明标签单词总数和错误 = Unit 6共14个单词。目前错误0个",
          "ui caption 透明标签_对错判断 = √", "ui message 已经是本课时的最后一个单词了！",
          "ui caption 透明标签单词总数和错误 = Unit 6共14个单词。共错误13个", "ui visible 编辑框错误记录 = 1",
          "ui disabled 超级按钮b_开始 = 0"})
        EXPECT_TRUE(log.has(line)) << line;
    EXPECT_TRUE(log.has("ui caption 透明标签_背单词的汉语翻译 = " + utf8(u6.meanings[0])));
    // One play per word plus the one listened to again, each named by its clip.
    const auto plays = log.starting("sound play ");
    EXPECT_EQ(plays.size(), 15u);
    for (const auto& p : plays) EXPECT_NE(p, "sound play ") << "a clip without a name";
    EXPECT_EQ(log.starting("ui caption 编辑框错误记录 = ").back(),
              "ui caption 编辑框错误记录 = " + log::one_line(get_text(mw::window, mw::编辑框错误记录, prop::kEditContent)));
}

TEST_F(WordDrillPage, CtrlEAfterARunAsksOnlyItsMissedWordsAndCountsOnlyThem) {
    test::LogCapture log;
    const LessonWords u1 = lesson(1);
    click(mw::超级按钮b_开始);
    while (visible(mw::编辑框背单词)) {
        const int n = asked(u1);
        ASSERT_NE(n, 0);
        answer(n == 3 || n == 7 ? Text("wrong") : u1.words[static_cast<std::size_t>(n - 1)]);
    }
    EXPECT_EQ(content::mistakes().count(), 2);
    QWidget* top = control_of(mw::window, 0);
    top->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(top));
    QTest::keyClick(top->focusWidget() ? top->focusWidget() : top, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(log.has("events repeat-errors start 2"));
    ASSERT_TRUE(visible(mw::编辑框背单词));
    EXPECT_EQ(answer_box()->window()->focusWidget(), answer_box());
    EXPECT_EQ(summary(), "Unit 1共2个单词。目前错误0个");
    // Words 3 and 7, in textbook order; 7 is missed again.
    EXPECT_EQ(asked(u1), 3);
    answer(u1.words[2]);
    EXPECT_EQ(asked(u1), 7);
    type("still wrong");
    enter();
    EXPECT_EQ(summary(), "Unit 1共2个单词。共错误1个");
    EXPECT_EQ(record_box(), utf8(u1.words[6] + u1.meanings[6]) + "\r\n\r\n");
    // Word 3 was right once in a later run: it stays in the box until it is right once more.
    EXPECT_EQ(content::mistakes().count(), 2);

    // The menu's "只练错词" does the same: only word 7 now.
    QMenu* menu = open_page_menu();
    ASSERT_NE(menu, nullptr);
    QAction* repeat = menu_entry(menu, "只练错词");
    ASSERT_NE(repeat, nullptr);
    EXPECT_EQ(menu_entry(menu, "再练错的"), nullptr) << "the games' replay belongs to the spreads";
    repeat->trigger();
    menu->close();
    EXPECT_EQ(summary(), "Unit 1共1个单词。目前错误0个");
    EXPECT_EQ(asked(u1), 7);
    answer(u1.words[6]);
    EXPECT_EQ(summary(), "Unit 1共1个单词。共错误0个");

    // Nothing missed: a message, and no run.
    test::boxes().shown.clear();
    const std::size_t played = test::sound().played.size();
    drills::repeat_drill_errors();
    ASSERT_EQ(test::boxes().shown.size(), 1u);
    EXPECT_EQ(utf8(test::boxes().shown[0].text), "没有错词了，真棒！");
    EXPECT_EQ(test::sound().played.size(), played);
    EXPECT_TRUE(enabled(mw::超级按钮b_开始));
    EXPECT_EQ(log.starting("events repeat-errors").size(), 2u);
}

TEST_F(WordDrillPage, RepeatingErrorsWaitsForTheRunToEnd) {
    const LessonWords u1 = lesson(1);
    click(mw::超级按钮b_开始);
    answer("wrong");
    ASSERT_EQ(asked(u1), 2);
    drills::repeat_drill_errors();
    EXPECT_EQ(asked(u1), 2);
    EXPECT_TRUE(test::boxes().shown.empty());
    EXPECT_EQ(summary(), "Unit 1共19个单词。目前错误1个");
}

TEST_F(WordDrillPage, TheAnswerBoxKeepsItsKeys) {
    click(mw::超级按钮b_开始);
    type("ab");
    // Left, Tab-free typing and Space stay the box's own; the page keys do not take them.
    QTest::keyClick(answer_box(), Qt::Key_Left);
    QTest::keyClick(answer_box(), Qt::Key_Space);
    QTest::keyClick(answer_box(), Qt::Key_Right);
    type("c");
    EXPECT_EQ(answer_box()->text(), "a bc");
    EXPECT_EQ(page(), 36);
    EXPECT_EQ(answer_box()->window()->focusWidget(), answer_box());
}

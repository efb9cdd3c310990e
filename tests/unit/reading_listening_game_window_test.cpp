// The practice and find games on the real main window: starting them, playing them to the end by
// pressing where the texts are printed, wrong presses, the pop-up, the feedback pauses, the ends
// of a game by page turning, the course choice and the drill page, and spreads whose lists and
// hotspots disagree.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRect>
#include <algorithm>
#include <tuple>

#include "content/catalogue.hpp"
#include "content/volume.hpp"
#include "reading/listening_game_ui.hpp"
#include "support/fakes.hpp"
#include "support/log_capture.hpp"
#include "support/main_window_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using namespace tb::test;  // the fixture, its fakes, and mw:: for the main window's units

namespace {

Blob bytes(Clip c) { return Blob(c.begin(), c.end()); }

std::string clip_name_of(const Blob& b) { return catalogue::clip_name(b); }

class ListeningGameWindow : public MainWindowTest {
protected:
    static reading::ListeningGame& game() { return reading::listening_game().current(); }

    // The overlay of the spread at the page cursor (page index 0 and 1: the front matter).
    static std::uint32_t overlay(int page_index) {
        const int printed = tb::volume::printed_page(page_index);
        const std::string name =
            "透明标签练一练是否错误" + std::to_string(printed) + (page_index < 2 ? "_0" : "_1");
        return unit_named(name.c_str());
    }
    static std::uint32_t page_picture(int page_index) {
        static const char* names[] = {"图片框底图2", "图片框底图4", "图片框底图1", "图片框底图3"};
        if (page_index < 4) return unit_named(names[page_index]);
        return unit_named(("图片框底图" + std::to_string(page_index + 1)).c_str());
    }

    // A press at a point of the page picture, made where the pupil would make it: on whatever
    // unit lies on top there.
    void press_page(int page_index, QPoint at) {
        QWidget* picture = control(page_picture(page_index));
        ASSERT_NE(picture, nullptr);
        QWidget* target = picture->childAt(at);
        ASSERT_NE(target, nullptr);
        const QPoint local = target->mapFrom(picture, at);
        QTest::mousePress(target, Qt::LeftButton, {}, local);
        QTest::mouseRelease(target, Qt::LeftButton, {}, local);
    }
    // Presses the centre of a hotspot box the game accepts for the question out.
    void press_right(int page_index) {
        ASSERT_TRUE(game().question_out());
        const reading::PageBox b = game().page_boxes()[game().accepted_answers().front() - 1];
        press_page(page_index, QPoint((b.left + b.right) / 2, (b.top + b.bottom) / 2));
    }
    // Presses a point of the page that no accepted box covers.
    void press_wrong(int page_index) {
        for (QPoint p : {QPoint(795, 535), QPoint(3, 535), QPoint(795, 3), QPoint(3, 3)}) {
            const bool covered = std::any_of(game().accepted_answers().begin(), game().accepted_answers().end(), [&](int i) {
                const reading::PageBox& b = game().page_boxes()[i - 1];
                return p.x() > b.left && p.x() < b.right && p.y() > b.top - 10 && p.y() < b.bottom;
            });
            if (!covered) return press_page(page_index, p);
        }
        FAIL() << "no free corner";
    }

    static bool overlays_enabled() {
        const auto all = collect_units(mw::window, gbk("透明标签练一练是否错误"));
        EXPECT_EQ(all.size(), 34u);
        const bool first = get_int(mw::window, all.front().unit_id, prop::kDisabled) == 0;
        for (const UnitRef& u : all) EXPECT_EQ(get_int(mw::window, u.unit_id, prop::kDisabled) == 0, first);
        return first;
    }
    static Text popup_caption() { return get_text(mw::window, mw::标签_显示翻译, prop::kLabelCaption); }

    static int items_with_text() {
        int n = 0;
        for (const Text& t : spread().current_translations) n += t != "$";
        return n;
    }

    // Plays the game out by pressing the right places; returns the questions asked, in order.
    std::vector<Text> play_to_the_end(int page_index) {
        std::vector<Text> asked;
        for (int guard = 0; game().question_out() && guard < 200; ++guard) {
            asked.push_back(game().question_translation());
            if (game().mode() == reading::ListeningMode::Find) {
                EXPECT_EQ(popup_caption(), asked.back());
            }
            const std::size_t sleeps = test::fake_time().sleeps.size();
            press_right(page_index);
            EXPECT_EQ(test::fake_time().sleeps.size(), sleeps + 1);
            EXPECT_EQ(test::fake_time().sleeps.back(), 3000);
        }
        return asked;
    }
};

}  // namespace

TEST_F(ListeningGameWindow, PracticeHidesThePopUpPlaysItsIntroAndAsksAfterTheWait) {
    press(unit_named("透明标签页二_5"));
    ASSERT_EQ(get(mw::标签_显示翻译, prop::kVisible), 1);
    bool checked = false;
    test::fake_time().during_sleep = [&](int ms) {
        if (checked) return;
        checked = true;
        EXPECT_EQ(ms, 7000);
        EXPECT_EQ(get(mw::标签_显示翻译, prop::kVisible), 0);
        EXPECT_EQ(popup_caption(), Text());
        EXPECT_TRUE(overlays_enabled());
        EXPECT_EQ(get(overlay(0), prop::kWidth), 800);
        EXPECT_EQ(get(overlay(0), prop::kHeight), 540);
        EXPECT_EQ(test::sound().played.back().bytes, bytes(catalogue::practice_prompt()));
        EXPECT_FALSE(game().question_out());
    };
    click(mw::超级按钮_练一练);
    ASSERT_TRUE(checked);
    ASSERT_TRUE(game().question_out());
    EXPECT_EQ(game().page_boxes().size(), 14u);
    // The question is the clip of an item whose translation is asked.
    const Blob& played = test::sound().played.back().bytes;
    EXPECT_EQ(played, game().question_clip());
    const auto& accepted = game().accepted_answers();
    EXPECT_TRUE(std::any_of(accepted.begin(), accepted.end(),
                            [&](int i) { return spread().current_sounds.at(i) == played; }));
    EXPECT_EQ(get(mw::标签_显示翻译, prop::kVisible), 0);
}

TEST_F(ListeningGameWindow, FindLeavesThePopUpUntilItsFirstQuestionThenShowsItLargeAtTheTop) {
    press(unit_named("透明标签页二_5"));
    const Text shown = popup_caption();
    const QRect before = control(mw::标签_显示翻译)->geometry();
    test::fake_time().during_sleep = [&](int) {
        EXPECT_EQ(popup_caption(), shown);
        EXPECT_EQ(get(mw::标签_显示翻译, prop::kVisible), 1);
        EXPECT_EQ(control(mw::标签_显示翻译)->geometry(), before);
    };
    click(mw::超级按钮_找一找);
    test::fake_time().during_sleep = nullptr;
    ASSERT_TRUE(game().question_out());
    const Text q = game().question_translation();
    EXPECT_EQ(popup_caption(), q);
    EXPECT_EQ(get(mw::标签_显示翻译, prop::kVisible), 1);
    EXPECT_EQ(get(mw::标签_显示翻译, prop::kWidth), 15 * length(q));
    EXPECT_EQ(get(mw::标签_显示翻译, prop::kLeft), (800 - 15 * length(q)) / 2);
    // At the top, or a whole number of its heights lower where it would cover its own answer.
    EXPECT_GE(get(mw::标签_显示翻译, prop::kTop), 40);
    EXPECT_EQ((get(mw::标签_显示翻译, prop::kTop) - 40) % 35, 0);
    EXPECT_EQ(get(mw::标签_显示翻译, prop::kHeight), 35);
    EXPECT_EQ(get(mw::标签_显示翻译, prop::kLabelAlignment), 1);
    EXPECT_EQ(std::get<Font>(get_property(mw::window, mw::标签_显示翻译, prop::kLabelFont)).size_pt, 22);
    // Find plays no clip for its question: the intro is the last clip.
    EXPECT_EQ(test::sound().played.back().bytes, bytes(catalogue::find_prompt()));
    // The Chinese-hint switch does not hide the question.
    view().chinese_hint = 0;
    click(mw::超级按钮_找一找);
    EXPECT_EQ(get(mw::标签_显示翻译, prop::kVisible), 1);
}

// On every spread, every find question leaves its answers to be pressed: the pop-up covers none
// of them, so a press on one reaches the game.
TEST_F(ListeningGameWindow, TheFindQuestionNeverCoversAnAcceptedAnswerOnAnySpread) {
    QWidget* main = control(0);
    QWidget* popup = control(mw::标签_显示翻译);
    int questions = 0, moved = 0;
    for (int k = 0; k < volume::kContentPages; ++k) {
        if (k > 0) click(mw::超级按钮_下一页);
        ASSERT_EQ(page(), k);
        click(mw::超级按钮_找一找);
        for (int guard = 0; game().question_out() && guard < 200; ++guard) {
            const QRect q = popup->geometry();
            moved += q.top() != 40;
            for (int i : game().accepted_answers()) {
                const reading::PageBox& b = game().page_boxes()[i - 1];
                const QRect answer(QPoint(b.left, b.top - 10), QPoint(b.right - 1, b.bottom - 1));
                ASSERT_FALSE(q.intersects(answer)) << "page " << k << ": " << utf8(game().question_translation());
            }
            const reading::PageBox& b = game().page_boxes()[game().accepted_answers().front() - 1];
            ASSERT_NE(main->childAt(QPoint((b.left + b.right) / 2, (b.top + b.bottom) / 2)), popup);
            ++questions;
            press_right(k);
        }
    }
    EXPECT_GT(questions, 500);
    EXPECT_GT(moved, 0);
}

// A right or wrong press is seen as well as heard: a sign at the press point for the pause, and
// a card counting the questions left, both gone with the game.
TEST_F(ListeningGameWindow, ThePupilSeesEachVerdictAtThePressAndTheQuestionsLeft) {
    QWidget* main = control(0);
    LogCapture log;
    click(mw::超级按钮_找一找);
    ASSERT_TRUE(game().question_out());
    const int left = game().questions_left();
    EXPECT_EQ(left, items_with_text());
    auto* card = main->findChild<QWidget*>(QStringLiteral("tapbook-questions-left"));
    ASSERT_NE(card, nullptr);
    EXPECT_TRUE(card->isVisible());
    EXPECT_TRUE(QRect(0, 0, 800, 540).contains(card->geometry()));
    EXPECT_TRUE(log.has("ui questions left 高级选择夹1 = " + std::to_string(left)));

    // Wrong: a cross at the press point while the wrong clip's pause lasts, then gone.
    const reading::PageBox b = game().page_boxes()[game().accepted_answers().front() - 1];
    QWidget* sign = nullptr;
    QPoint centre;
    test::fake_time().during_sleep = [&](int) {
        sign = main->findChild<QWidget*>(QStringLiteral("tapbook-verdict"));
        if (sign && sign->isVisible()) centre = sign->geometry().center();
    };
    press_wrong(0);
    ASSERT_NE(sign, nullptr);
    EXPECT_FALSE(sign->isVisible());
    ASSERT_EQ(log.starting("ui verdict ").size(), 2u);
    EXPECT_EQ(log.starting("ui verdict ")[0].rfind("ui verdict 透明标签练一练是否错误2_0 = wrong ", 0), 0u);
    EXPECT_EQ(log.starting("ui verdict ")[1], "ui verdict 透明标签练一练是否错误2_0 = 0");
    int nearest = 10000;  // press_wrong presses a free corner of the page
    for (QPoint corner : {QPoint(795, 535), QPoint(3, 535), QPoint(795, 3), QPoint(3, 3)})
        nearest = std::min(nearest, (centre - corner).manhattanLength());
    EXPECT_LE(nearest, 2) << centre.x() << "," << centre.y();

    // Right: a tick at the answer, and one question fewer.
    centre = {};
    press_right(0);
    const QPoint pressed((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    EXPECT_LE((centre - pressed).manhattanLength(), 2);
    EXPECT_EQ(log.starting("ui verdict ")[2].rfind("ui verdict 透明标签练一练是否错误2_0 = right ", 0), 0u);
    EXPECT_TRUE(log.has("ui questions left 高级选择夹1 = " + std::to_string(left - 1)));
    test::fake_time().during_sleep = nullptr;

    // Turning the page ends the game and takes the card away.
    click(mw::超级按钮_下一页);
    EXPECT_FALSE(card->isVisible());
    EXPECT_TRUE(log.has("ui questions left 高级选择夹1 = hidden"));
}

TEST_F(ListeningGameWindow, APracticeGamePlaysToTheEndWithoutAskingItemsWithoutText) {
    click(mw::超级按钮_下一页);  // page 4: items without text among its 35
    ASSERT_EQ(page(), 1);
    const int with_text = items_with_text();
    ASSERT_LT(with_text, spread().current_translations.count());
    LogCapture log;
    click(mw::超级按钮_练一练);
    const std::vector<Text> asked = play_to_the_end(1);
    EXPECT_EQ(static_cast<int>(asked.size()), with_text);
    EXPECT_EQ(std::count(asked.begin(), asked.end(), Text("$")), 0);
    EXPECT_FALSE(game().question_out());
    EXPECT_FALSE(overlays_enabled());
    EXPECT_EQ(test::sound().played.back().bytes, bytes(catalogue::complete_prompt()));
    EXPECT_EQ(log.lines.back(), "sound play prompts/complete") << "nothing follows the game-complete clip";
    // Every answer got a right-answer clip, and every step is in the log.
    EXPECT_EQ(static_cast<int>(log.starting("sound play feedback/right").size()), with_text);
    EXPECT_TRUE(log.has("events event practice_clicked 超级按钮_练一练"));
    EXPECT_TRUE(log.has("sound play prompts/practice"));
    EXPECT_TRUE(log.has("ui disabled 透明标签练一练是否错误4_0 = 0"));
    EXPECT_TRUE(log.has("ui disabled 透明标签练一练是否错误4_0 = 1"));
    EXPECT_TRUE(log.has("events event practice_overlay_pressed 透明标签练一练是否错误4_0"));
    // The hotspots read aloud again.
    test::sound().played.clear();
    press_page(1, QPoint(game().page_boxes()[1].left + 2, game().page_boxes()[1].top + 2));
    ASSERT_FALSE(test::sound().played.empty());
    EXPECT_EQ(test::sound().played.back().bytes, spread().current_sounds.at(2));
}

TEST_F(ListeningGameWindow, AFindGamePlaysToTheEndShowingEachQuestionInThePopUp) {
    click(mw::超级按钮_下一页);
    const int with_text = items_with_text();
    LogCapture log;
    click(mw::超级按钮_找一找);
    const std::vector<Text> asked = play_to_the_end(1);
    EXPECT_EQ(static_cast<int>(asked.size()), with_text);
    EXPECT_FALSE(overlays_enabled());
    EXPECT_EQ(test::sound().played.back().bytes, bytes(catalogue::complete_prompt()));
    for (const auto& l : log.starting("ui caption 标签_显示翻译 = ")) EXPECT_NE(l, "ui caption 标签_显示翻译 = $");
    // The last question stays in the pop-up.
    EXPECT_EQ(popup_caption(), asked.back());
    EXPECT_EQ(get(mw::标签_显示翻译, prop::kVisible), 1);
}

TEST_F(ListeningGameWindow, TheBoxTestsAreMadeWhereTheTextIsPrintedOnThePage) {
    // The overlay lies off the page picture's corner; the press is judged where it is on the page.
    ASSERT_NE(get(overlay(0), prop::kLeft), 0);
    for (auto [dx, dy, right] : {std::tuple{2, 2, true}, std::tuple{0, 5, false}, std::tuple{-2, 5, false}, std::tuple{5, -9, true},
                                   std::tuple{5, -10, false}}) {
        click(mw::超级按钮_找一找);
        ASSERT_TRUE(game().question_out());
        const reading::PageBox b = game().page_boxes()[game().accepted_answers().front() - 1];
        const std::size_t sleeps = test::fake_time().sleeps.size();
        press_page(0, QPoint(b.left + dx, b.top + dy));
        ASSERT_EQ(test::fake_time().sleeps.size(), sleeps + 1);
        EXPECT_EQ(test::fake_time().sleeps.back(), right ? 3000 : 4000) << dx << "," << dy;
    }
    // The right and bottom edges.
    for (bool bottom : {false, true}) {
        click(mw::超级按钮_找一找);
        const reading::PageBox b = game().page_boxes()[game().accepted_answers().front() - 1];
        press_page(0, bottom ? QPoint(b.left + 3, b.bottom) : QPoint(b.right, b.top + 3));
        EXPECT_EQ(test::fake_time().sleeps.back(), 4000) << (bottom ? "bottom" : "right");
    }
}

TEST_F(ListeningGameWindow, AWrongPressInPracticeReplaysTheQuestionClip) {
    click(mw::超级按钮_练一练);
    const Blob question = game().question_clip();
    LogCapture log;
    press_wrong(0);
    EXPECT_EQ(test::fake_time().sleeps.back(), 4000);
    ASSERT_GE(log.lines.size(), 3u);
    const auto plays = log.starting("sound play ");
    ASSERT_EQ(plays.size(), 2u);
    EXPECT_EQ(plays[0].rfind("sound play feedback/wrong", 0), 0u) << plays[0];
    EXPECT_EQ(plays[1], "sound play " + clip_name_of(question));
    EXPECT_TRUE(game().question_out());
    EXPECT_EQ(game().question_clip(), question);
}

TEST_F(ListeningGameWindow, AWrongPressInFindShowsTheSameTranslationAgain) {
    click(mw::超级按钮_找一找);
    const Text question = game().question_translation();
    test::fake_time().during_sleep = [&](int) {
        // The pupil drags the pop-up or anything else writes it meanwhile.
        set(mw::标签_显示翻译, prop::kLabelCaption, gbk("别的"));
    };
    LogCapture log;
    press_wrong(0);
    EXPECT_EQ(test::fake_time().sleeps.back(), 4000);
    EXPECT_EQ(log.starting("sound play feedback/wrong").size(), 1u);
    EXPECT_EQ(popup_caption(), question);
    EXPECT_EQ(game().question_translation(), question);
}

TEST_F(ListeningGameWindow, ARightPressInFindShowsTheNextQuestionInTheSameEvent) {
    click(mw::超级按钮_找一找);
    LogCapture log;
    std::size_t lines_in_wait = 0;
    test::fake_time().during_sleep = [&](int) { lines_in_wait = log.lines.size(); };
    press_right(0);
    ASSERT_TRUE(game().question_out());
    EXPECT_EQ(popup_caption(), game().question_translation());
    // The next question was written after the wait, before the press's handler returned.
    bool shown_after_wait = false;
    for (std::size_t i = lines_in_wait; i < log.lines.size(); ++i)
        shown_after_wait |= log.lines[i].rfind("ui caption 标签_显示翻译 = ", 0) == 0;
    EXPECT_TRUE(shown_after_wait);
}

TEST_F(ListeningGameWindow, PressesDuringAWaitAreJudgedAfterIt) {
    int waits = 0;
    test::fake_time().during_sleep = [&](int) {
        if (++waits == 1) press_page(0, QPoint(795, 535));  // during the intro: no question is out yet
    };
    click(mw::超级按钮_练一练);
    EXPECT_EQ(test::fake_time().sleeps, (std::vector<int>{7000}));
    ASSERT_TRUE(game().question_out());
    QCoreApplication::processEvents();
    ASSERT_EQ(test::fake_time().sleeps.size(), 2u) << "the press made during the intro is judged once asked";

    // A right press made while a wrong answer's feedback plays is judged after it, against the
    // question replayed.
    const Blob question = game().question_clip();
    test::sound().played.clear();
    bool pressed = false;
    test::fake_time().during_sleep = [&](int ms) {
        if (pressed || ms != 4000) return;
        pressed = true;
        press_right(0);
    };
    press_wrong(0);
    ASSERT_TRUE(pressed);
    EXPECT_EQ(test::fake_time().sleeps.back(), 4000);
    ASSERT_FALSE(test::sound().played.empty());
    EXPECT_EQ(test::sound().played.back().bytes, question) << "the wrong answer's handler ran to its end first";
    QCoreApplication::processEvents();
    EXPECT_EQ(test::fake_time().sleeps.back(), 3000);
    EXPECT_EQ(test::sound().played[1].bytes, question);
    EXPECT_EQ(clip_name_of(test::sound().played[2].bytes).rfind("feedback/right", 0), 0u);
}

TEST_F(ListeningGameWindow, TurningThePageEndsTheGameAndTheHotspotsReadAgain) {
    click(mw::超级按钮_练一练);
    const reading::PageBox b = game().page_boxes()[4];
    const QPoint on_item5((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    EXPECT_EQ(control(page_picture(0))->childAt(on_item5), control(overlay(0)));
    click(mw::超级按钮_下一页);
    EXPECT_FALSE(overlays_enabled());
    EXPECT_FALSE(game().question_out());
    click(mw::超级按钮_上一页);
    ASSERT_EQ(page(), 0);
    test::sound().played.clear();
    press_page(0, on_item5);
    ASSERT_EQ(test::sound().played.size(), 1u);
    EXPECT_EQ(clip_name_of(test::sound().played[0].bytes), "page00/005");
    EXPECT_EQ(popup_caption(), spread().current_translations.at(5));
    EXPECT_EQ(test::fake_time().sleeps, (std::vector<int>{7000})) << "nothing was judged";
}

TEST_F(ListeningGameWindow, TheCourseChoiceAndTheDrillPageEndTheGame) {
    click(mw::超级按钮_找一找);
    choose_course(0);  // "Unit 1": the page already shown
    EXPECT_FALSE(overlays_enabled());
    EXPECT_FALSE(game().question_out());
    test::sound().played.clear();
    press(unit_named("透明标签页二_5"));
    EXPECT_EQ(clip_name_of(test::sound().played.back().bytes), "page00/005");

    click(mw::超级按钮_练一练);
    ASSERT_TRUE(overlays_enabled());
    click(mw::超级按钮_背单词);
    EXPECT_FALSE(overlays_enabled());
    EXPECT_FALSE(game().question_out());
}

TEST_F(ListeningGameWindow, AModeButtonDuringAGameStartsAgain) {
    click(mw::超级按钮_练一练);
    press_right(0);
    EXPECT_EQ(game().open_translation_count(), 13);
    click(mw::超级按钮_找一找);
    EXPECT_EQ(game().mode(), reading::ListeningMode::Find);
    EXPECT_EQ(game().open_translation_count(), 14);
    EXPECT_TRUE(overlays_enabled());
}

TEST_F(ListeningGameWindow, ListsThatDisagreeWithTheHotspotsGiveThreeBoxesAndNoGame) {
    spread().current_translations.append(gbk("多余的"));  // 15 translations, 14 hotspots, 14 clips
    LogCapture log;
    click(mw::超级按钮_找一找);
    auto& shown = test::boxes().shown;
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "15");
    EXPECT_EQ(shown[1].text, "14");
    EXPECT_EQ(shown[2].text, gbk("汉语翻译数量与找到的透明标签找一找不相等"));
    for (const auto& b : shown) {
        EXPECT_EQ(b.caption, gbk("信息："));
        EXPECT_EQ(b.buttons, MsgButtons::Ok);
    }
    EXPECT_TRUE(log.has("ui message 汉语翻译数量与找到的透明标签找一找不相等"));
    EXPECT_FALSE(game().question_out());
    EXPECT_FALSE(overlays_enabled()) << "no question is out, so the page reads again";

    shown.clear();
    click(mw::超级按钮_练一练);  // practice shows the clip count
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "14");
    EXPECT_EQ(shown[1].text, "14");
    EXPECT_EQ(shown[2].text, gbk("读音数量与找到的透明标签练一练不相等"));
    EXPECT_FALSE(overlays_enabled());

    // A clip short of the items: refused the same way rather than failing on the missing clip.
    spread().current_translations.remove(15);
    spread().current_sounds.remove(14);
    shown.clear();
    click(mw::超级按钮_练一练);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "13");
    EXPECT_EQ(shown[1].text, "14");
    EXPECT_FALSE(game().question_out());
    // Find needs no clips: it plays.
    shown.clear();
    click(mw::超级按钮_找一找);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(game().question_out());
}

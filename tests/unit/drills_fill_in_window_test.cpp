// The fill-in window's handlers on the real window: questions, checking by button and by Enter,
// the switches, the messages, and the blank box over its word for every sentence of the book.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <cmath>

#include "content/catalogue.hpp"
#include "content/mistakes.hpp"
#include "drills/fill_in.hpp"
#include "support/exercise_window_fixture.hpp"
#include "support/log_capture.hpp"
#include "support/main_window_fixture.hpp"

using namespace tb;
using namespace tb::test;
namespace fw = tb::ids::fill_in_window;

namespace {

class FillInWindowTest : public ExerciseWindowTest {
protected:
    // Shows the window on the lists with the draws given; its creation asks the first question.
    void open(std::deque<int> draws) {
        drills::fill_in_game().replace_for_test(drills::FillIn(scripted(std::move(draws))));
        ASSERT_TRUE(ui::show_window(fw::window, false));
    }
    static Text caption(std::uint32_t unit) { return ui::get_text(fw::window, unit, ui::prop::kTransCaption); }
    static int get(std::uint32_t unit, int index) { return ui::get_int(fw::window, unit, index); }
    static bool visible(std::uint32_t unit) { return get(unit, ui::prop::kVisible) == 1; }
    static Text typed() { return ui::get_text(fw::window, fw::编辑框_要填入内容的, ui::prop::kEditContent); }
    static void type(const char* text) {
        QWidget* box = control(fw::window, fw::编辑框_要填入内容的);
        ASSERT_NE(box, nullptr);
        QTest::keyClicks(box, text);
    }
    static void enter() { QTest::keyClick(control(fw::window, fw::编辑框_要填入内容的), Qt::Key_Return); }
    static Blob sound_of(int n) { return content::spread().exercise_sounds.at(n); }
    static double width_in_question_font(const Text& text) {
        auto font = std::get<ui::Font>(ui::get_property(fw::window, fw::透明标签_填一填的题目, ui::prop::kTransFont));
        return ui::text_width(font, text);
    }
};

TEST_F(FillInWindowTest, OpeningAsksAQuestionWithItsClipTranslationAndHiddenAnswer) {
    use_lists({"Hello!", "I like cakes, too.", "Where is Tom?"});
    LogCapture log;
    open({2, 3});
    EXPECT_EQ(caption(fw::透明标签_填一填的题目), "I like cakes, too.");
    EXPECT_EQ(caption(fw::透明标签_填一填的汉语提示), gbk("翻译2"));
    EXPECT_TRUE(visible(fw::透明标签_填一填的汉语提示));
    EXPECT_EQ(caption(fw::透明标签_填一填的答案提示), "cakes");
    EXPECT_FALSE(visible(fw::透明标签_填一填的答案提示));
    ASSERT_EQ(sound().played.size(), 1u);
    EXPECT_EQ(sound().played[0].bytes, sound_of(2));
    EXPECT_EQ(typed(), "");
    EXPECT_EQ(log.starting("events event fill_in_created").size(), 1u) << ::testing::PrintToString(log.lines);
    EXPECT_TRUE(log.has("ui caption 透明标签_填一填的题目 = I like cakes, too."));

    click(fw::window, fw::超级按钮_答案);
    EXPECT_TRUE(visible(fw::透明标签_填一填的答案提示));
    click(fw::window, fw::超级按钮_下一题);
    EXPECT_FALSE(visible(fw::透明标签_填一填的答案提示));
}

TEST_F(FillInWindowTest, ARightAnswerMovesOnAndAWrongOneAsksAgain) {
    use_lists({"Hello!", "I like cakes, too.", "Where is Tom?"});
    open({2, 3, 1, 1, 3, 3});  // the question; the answer's two clip draws; the next question
    sound().played.clear();
    type("cakes");
    enter();
    // The right clip, the pause, then the next question with its own clip.
    ASSERT_EQ(sound().played.size(), 2u);
    EXPECT_TRUE([&] {
        for (const auto& c : catalogue::fill_in_right_clips())
            if (sound().played[0].bytes == Blob(c.begin(), c.end())) return true;
        return false;
    }());
    EXPECT_EQ(fake_time().sleeps, std::vector<int>{4000});
    EXPECT_EQ(caption(fw::透明标签_填一填的题目), "Where is Tom?");
    EXPECT_EQ(sound().played[1].bytes, sound_of(3));
    EXPECT_EQ(typed(), "");

    // Wrong: a capital missing. The wrong clip, the pause, the sentence again, an empty box.
    sound().played.clear();
    type("tom");
    click(fw::window, fw::超级按钮_确定);
    ASSERT_EQ(sound().played.size(), 2u);
    EXPECT_TRUE([&] {
        for (const auto& c : catalogue::fill_in_wrong_clips())
            if (sound().played[0].bytes == Blob(c.begin(), c.end())) return true;
        return false;
    }());
    EXPECT_EQ(sound().played[1].bytes, sound_of(3));
    EXPECT_EQ(fake_time().sleeps, (std::vector<int>{4000, 4000}));
    EXPECT_EQ(caption(fw::透明标签_填一填的题目), "Where is Tom?");
    EXPECT_EQ(typed(), "");
}

TEST_F(FillInWindowTest, TheMarkTypedTooOrATrailingSpaceIsWrong) {
    use_lists({"Come here, please!"});
    open({1, 4});
    ASSERT_EQ(caption(fw::透明标签_填一填的答案提示), "please");
    for (const char* attempt : {"please!", "please ", "Please"}) {
        SCOPED_TRACE(attempt);
        sound().played.clear();
        type(attempt);
        enter();
        EXPECT_EQ(typed(), "");  // wrong: cleared for another try
        ASSERT_FALSE(sound().played.empty());
        EXPECT_TRUE(last_played_one_of(content::spread().exercise_sounds));
    }
    type("please");
    enter();
    EXPECT_TRUE([&] {
        for (const auto& c : catalogue::fill_in_right_clips())
            if (played(Blob(c.begin(), c.end()))) return true;
        return false;
    }());
}

TEST_F(FillInWindowTest, SwitchesActAtTheNextPressOfNext) {
    use_lists({"Good morning, Miss Li.", "How are you?"});
    open({1, 1});
    click(fw::window, fw::选择框是否读音);
    click(fw::window, fw::选择框汉语提示);
    ASSERT_EQ(get(fw::选择框是否读音, ui::prop::kChecked), 0);
    // Not read yet: a wrong answer still plays the sentence again.
    sound().played.clear();
    type("x");
    enter();
    EXPECT_TRUE(played(sound_of(1)));
    EXPECT_TRUE(visible(fw::透明标签_填一填的汉语提示));

    // Next reads them: the new question plays nothing and hides the hint, whose caption still
    // follows the question.
    drills::fill_in_game().replace_for_test(drills::FillIn(scripted({2, 1})));
    sound().played.clear();
    click(fw::window, fw::超级按钮_下一题);
    EXPECT_EQ(caption(fw::透明标签_填一填的题目), "How are you?");
    EXPECT_TRUE(sound().played.empty());
    EXPECT_FALSE(visible(fw::透明标签_填一填的汉语提示));
    EXPECT_EQ(caption(fw::透明标签_填一填的汉语提示), gbk("翻译2"));
    // A wrong answer plays only the wrong clip.
    type("x");
    enter();
    ASSERT_EQ(sound().played.size(), 1u);
    EXPECT_TRUE(last_played_one_of(catalogue::fill_in_wrong_clips()));
}

TEST_F(FillInWindowTest, TwoSpacesInARowAskForTheEmptyWord) {
    use_lists({"Good  morning."});
    open({1, 2});
    EXPECT_EQ(caption(fw::透明标签_填一填的答案提示), "");
    EXPECT_EQ(get(fw::编辑框_要填入内容的, ui::prop::kWidth), 0);
    sound().played.clear();
    click(fw::window, fw::超级按钮_确定);
    EXPECT_TRUE(last_played_one_of(content::spread().exercise_sounds));  // right: a new question with its clip
    EXPECT_TRUE(played(Blob(catalogue::fill_in_right_clips()[0].begin(), catalogue::fill_in_right_clips()[0].end())) ||
                played(Blob(catalogue::fill_in_right_clips()[1].begin(), catalogue::fill_in_right_clips()[1].end())) ||
                played(Blob(catalogue::fill_in_right_clips()[2].begin(), catalogue::fill_in_right_clips()[2].end())));
}

TEST_F(FillInWindowTest, ListsItCannotAskFromGiveAMessageAndNoQuestion) {
    use_lists({"One two.", "Three four."});
    drills::exercise_lists().translations.remove(2);
    open({});
    ASSERT_EQ(boxes().shown.size(), 1u);
    EXPECT_EQ(boxes().shown[0].text, gbk("英语和汉语和读音的数量不同"));
    EXPECT_EQ(caption(fw::透明标签_填一填的题目), "");
    EXPECT_TRUE(sound().played.empty());
    ui::close_all_windows();

    for (auto sentences : {std::vector<Text>{}, std::vector<Text>{"$", "$"}}) {
        boxes().shown.clear();
        use_lists(sentences);
        open({});
        ASSERT_EQ(boxes().shown.size(), 1u);
        EXPECT_EQ(boxes().shown[0].text, gbk("这一页没有可以填空的句子。"));
        click(fw::window, fw::超级按钮_确定);  // judging with no question asked is harmless
        ui::close_all_windows();
    }
}

TEST_F(FillInWindowTest, TheBoxLandsOnTheWholeWordNotInsideAnEarlierOne) {
    use_lists({"Look at a cat."});
    open({1, 3});
    ASSERT_EQ(caption(fw::透明标签_填一填的答案提示), "a");
    const int label = get(fw::透明标签_填一填的题目, ui::prop::kLeft);
    const int left = get(fw::编辑框_要填入内容的, ui::prop::kLeft);
    const int right = left + get(fw::编辑框_要填入内容的, ui::prop::kWidth);
    // Over the word "a", not the "a" of "at".
    EXPECT_LE(left, label + width_in_question_font("Look at "));
    EXPECT_GT(left, label + width_in_question_font("Look at"));
    EXPECT_GE(right, label + width_in_question_font("Look at a"));
    EXPECT_LT(right, label + width_in_question_font("Look at a c"));
}

TEST_F(FillInWindowTest, TheVerdictStandsBesideTheBoxForThePause) {
    use_lists({"Where is Tom?"});
    LogCapture log;
    open({1, 3, 1, 3});
    QWidget* box = control(fw::window, fw::编辑框_要填入内容的);
    QRect sign;
    fake_time().during_sleep = [&](int) {
        if (ui::verdict_shown())
            sign = control(fw::window, 0)->findChild<QWidget*>(QStringLiteral("tapbook-verdict"))->geometry();
    };
    type("Tim");
    enter();
    const QRect at(box->mapTo(box->window(), QPoint(0, 0)), box->size());
    EXPECT_FALSE(sign.isNull());
    EXPECT_GT(sign.left(), at.right());  // beside the box, not over what was typed
    EXPECT_LT(sign.left(), at.right() + 20);
    EXPECT_TRUE(sign.contains(QPoint(sign.center().x(), at.center().y())));
    EXPECT_FALSE(ui::verdict_shown());
    ASSERT_EQ(log.starting("ui verdict ").size(), 2u);
    EXPECT_EQ(log.starting("ui verdict ")[0].rfind("ui verdict 编辑框_要填入内容的 = wrong ", 0), 0u);
    type("Tom");
    click(fw::window, fw::超级按钮_确定);
    EXPECT_EQ(log.starting("ui verdict ")[2].rfind("ui verdict 编辑框_要填入内容的 = right ", 0), 0u);
}

TEST_F(FillInWindowTest, EnterHeldDownIsOneAnswer) {
    use_lists({"Where is Tom?"});
    open({1, 3});
    type("Tim");
    QWidget* box = control(fw::window, fw::编辑框_要填入内容的);
    QTest::keyPress(box, Qt::Key_Return);
    for (int i = 0; i < 10; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, {}, QStringLiteral("\r"), true);
        QApplication::sendEvent(box, &repeat);
    }
    QTest::keyRelease(box, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(fake_time().sleeps, std::vector<int>{4000});
}

TEST_F(FillInWindowTest, ClosingStopsTheClips) {
    use_lists({"Hello, Tom."});
    open({});
    const int stops = sound().stops;
    click(fw::window, fw::超级按钮_退出);
    EXPECT_FALSE(ui::window_shown(fw::window));
    EXPECT_GT(sound().stops, stops);
}

// For every word of every sentence of the book: the sentence fits its label, and the box covers
// the hidden word (its first whole occurrence, in its own case) while leaving the words around it in sight.
TEST_F(FillInWindowTest, TheBoxCoversItsWordForEverySentenceOfTheBook) {
    use_lists({"Hello."});
    open({});
    const int label = get(fw::透明标签_填一填的题目, ui::prop::kLeft);
    const int label_width = get(fw::透明标签_填一填的题目, ui::prop::kWidth);
    const int window_width = ui::get_int(fw::window, 0, ui::prop::kWidth);
    const double space = width_in_question_font(" ");
    int checked = 0;
    for (int page = 0; page < volume::kContentPages; ++page) {
        for (const Text& sentence : book_sentences(page)) {
            const auto words = split(sentence, " ");
            for (int k = 1; k <= static_cast<int>(words.size()); ++k) {
                const Text answer = drills::blank_answer(words[static_cast<std::size_t>(k - 1)]);
                if (answer == "$" || answer.empty()) continue;
                SCOPED_TRACE("page " + std::to_string(page) + ": " + sentence + " / " + answer);
                use_lists({sentence});
                drills::fill_in_game().replace_for_test(drills::FillIn(scripted({1, k})));
                fill_in_question(ui::EventArgs{});
                ASSERT_EQ(caption(fw::透明标签_填一填的答案提示), answer);
                ASSERT_LE(width_in_question_font(sentence), label_width);
                // The first word that is the answer, whole and in its own case.
                std::size_t at = 0;
                for (int j = 1; j < k; ++j) {
                    if (drills::blank_answer(words[static_cast<std::size_t>(j - 1)]) == answer) break;
                    at += words[static_cast<std::size_t>(j - 1)].size() + 1;
                }
                const double x0 = label + width_in_question_font(sentence.substr(0, at));
                const double x1 = label + width_in_question_font(sentence.substr(0, at + answer.size()));
                const int left = get(fw::编辑框_要填入内容的, ui::prop::kLeft);
                const int right = left + get(fw::编辑框_要填入内容的, ui::prop::kWidth);
                EXPECT_LE(left, std::floor(x0));
                EXPECT_GE(right, std::ceil(x1));
                EXPECT_GT(left, x0 - space / 2);
                EXPECT_LT(right, x1 + space / 2);
                EXPECT_LE(right, window_width);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

}  // namespace

// Through the toolbar, as the pupil opens it: a modal window on copies of the spread's lists.
TEST_F(MainWindowTest, FillInButtonOpensAQuestionOfTheSpreadAndCloseStopsItsClip) {
    click(mw::超级按钮_下一页);
    EXPECT_TRUE(open_look_and_close(mw::超级按钮_填一填, fw::window, fw::超级按钮_退出, [] {
        const Text question = ui::get_text(fw::window, fw::透明标签_填一填的题目, ui::prop::kTransCaption);
        const auto& sentences = spread().current_sentences.items();
        return std::find(sentences.begin(), sentences.end(), question) != sentences.end();
    })) << "the window asks a sentence of the spread";
    EXPECT_EQ(drills::exercise_lists().sentences, spread().current_sentences);
}

TEST_F(FillInWindowTest, AWrongAnswerPutsItsSentenceInTheMistakesBox) {
    use_lists({"Hello!", "Where is Tom?"});
    open({2, 3});
    type("tom");
    enter();
    type("Tom");
    enter();  // right, but in the run that missed it: it stays
    const content::MistakesBox& box = content::mistakes();
    ASSERT_EQ(box.count(), 1);
    EXPECT_EQ(box.entries()[0].origin, content::MistakeOrigin::FillIn);
    EXPECT_EQ(box.entries()[0].text, "Where is Tom?");
    EXPECT_EQ(box.entries()[0].place, content::spread().page_index);
}

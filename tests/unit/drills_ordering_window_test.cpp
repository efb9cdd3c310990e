// The ordering window's handlers on the real window: the deal, clicks and their label styles,
// redo, submit, the answer, the switches, and the deal of every sentence of the book inside its
// frame.
#include <QTimer>

#include "content/catalogue.hpp"
#include "content/mistakes.hpp"
#include "drills/ordering.hpp"
#include "support/exercise_window_fixture.hpp"
#include "support/log_capture.hpp"
#include "support/main_window_fixture.hpp"

using namespace tb;
using namespace tb::test;
namespace ow = tb::ids::ordering_window;

namespace {

const std::uint32_t kLabels[] = {ow::透明标签p_打乱的单词1, ow::透明标签p_打乱的单词2, ow::透明标签p_打乱的单词3,
                                 ow::透明标签p_打乱的单词4, ow::透明标签p_打乱的单词5, ow::透明标签p_打乱的单词6,
                                 ow::透明标签p_打乱的单词7, ow::透明标签p_打乱的单词8, ow::透明标签p_打乱的单词9,
                                 ow::透明标签p_打乱的单词10};
const std::uint32_t kTranslationLines[] = {ow::分组框_边线3, ow::分组框_边线4, ow::分组框_竖边线3, ow::分组框_竖边线4};

class OrderingWindowTest : public ExerciseWindowTest {
protected:
    void open(std::deque<int> draws = {}) {
        drills::ordering_game().replace_for_test(drills::Ordering(scripted(std::move(draws))));
        ASSERT_TRUE(ui::show_window(ow::window, false));
    }
    static std::uint32_t label(int k) { return kLabels[k - 1]; }
    static int get(std::uint32_t unit, int index, int member = ui::font_member::kWhole) {
        return ui::get_int(ow::window, unit, index, member);
    }
    static bool visible(std::uint32_t unit) { return get(unit, ui::prop::kVisible) == 1; }
    static Text caption(std::uint32_t unit) { return ui::get_text(ow::window, unit, ui::prop::kTransCaption); }
    static int points(int k) { return get(label(k), ui::prop::kTransFont, ui::font_member::kSize); }
    static int colour(std::uint32_t unit) { return get(unit, ui::prop::kTransColour); }
    static Text line() { return caption(ow::透明标签p_排列好的); }
    // Presses the labels in the order of the sentence's words.
    static void click_in_order(const Text& sentence) {
        std::vector<bool> used(10, false);
        for (const Text& word : split(sentence, " ")) {
            for (int k = 1; k <= 10; ++k) {
                if (!used[static_cast<std::size_t>(k - 1)] && visible(label(k)) && caption(label(k)) == word) {
                    used[static_cast<std::size_t>(k - 1)] = true;
                    press(ow::window, label(k));
                    break;
                }
            }
        }
    }
    static ui::Font label_font(int k, int pt) {
        auto f = std::get<ui::Font>(ui::get_property(ow::window, label(k), ui::prop::kTransFont));
        f.size_pt = pt;
        return f;
    }
};

TEST_F(OrderingWindowTest, ANineWordSentenceFillsLabelsOneToNineAndClickedInOrderIsRight) {
    const Text sentence = "She is wearing a green cap and blue shorts.";
    use_lists({"Hi!", sentence, "One two three four five six seven eight nine ten."});
    LogCapture log;
    open({1, 1, 3});  // the only sentence of two to nine words, then its words
    for (int k = 1; k <= 9; ++k) {
        SCOPED_TRACE(k);
        EXPECT_TRUE(visible(label(k)));
        EXPECT_EQ(points(k), 14);
        EXPECT_EQ(colour(label(k)), 0);
        EXPECT_EQ(get(label(k), ui::prop::kWidth), length(caption(label(k))) * 13);
    }
    EXPECT_FALSE(visible(label(10)));
    // Dealt from label 1 rightwards with 20 pixels between them.
    for (int k = 2; k <= 9; ++k)
        EXPECT_EQ(get(label(k), ui::prop::kLeft),
                  get(label(k - 1), ui::prop::kLeft) + get(label(k - 1), ui::prop::kWidth) + 20);
    EXPECT_EQ(caption(label(1)), "She");  // draw 1 of 9
    EXPECT_EQ(caption(label(2)), "a");    // draw 3 of the 8 left
    ASSERT_EQ(sound().played.size(), 1u);
    EXPECT_EQ(sound().played[0].bytes, content::spread().exercise_sounds.at(2));
    EXPECT_TRUE(visible(ow::透明标签p_汉语翻译));
    EXPECT_EQ(caption(ow::透明标签p_汉语翻译), gbk("翻译2"));
    for (auto u : kTranslationLines) EXPECT_TRUE(visible(u));
    EXPECT_FALSE(visible(ow::超级按钮_重做));

    click_in_order(sentence);
    EXPECT_EQ(line(), " " + sentence);
    EXPECT_EQ(colour(ow::透明标签p_排列好的), 0);
    EXPECT_TRUE(visible(ow::超级按钮_重做));
    sound().played.clear();
    click(ow::window, ow::超级按钮_提交答案);
    EXPECT_TRUE(last_played_one_of(catalogue::ordering_right_clips()));
    EXPECT_EQ(fake_time().sleeps, std::vector<int>{4000});
    EXPECT_EQ(line(), " " + sentence);  // the finished game stays until start
    EXPECT_FALSE(log.starting("sound play ").empty());
    EXPECT_TRUE(log.has("ui caption 透明标签p_排列好的 =  " + sentence));
}

TEST_F(OrderingWindowTest, AWordClickedTwiceIsWrongAndTheLineSaysStartAgainInGrey) {
    use_lists({"I like apples."});
    LogCapture log;
    open();
    press(ow::window, label(1));
    press(ow::window, label(1));
    press(ow::window, label(2));
    press(ow::window, label(3));
    EXPECT_EQ(line(), " I I like apples.");
    sound().played.clear();
    click(ow::window, ow::超级按钮_提交答案);
    EXPECT_TRUE(last_played_one_of(catalogue::ordering_wrong_clips()));
    EXPECT_TRUE(fake_time().sleeps.empty());
    EXPECT_EQ(line(), gbk("重新开始吧！"));
    EXPECT_EQ(colour(ow::透明标签p_排列好的), 0x808080);
    // A cross at the line's end, until the pupil clicks on.
    EXPECT_TRUE(ui::verdict_shown());
    EXPECT_TRUE(log.has("ui verdict 透明标签p_排列好的 = wrong 738,24"));
    // Clicked again from the start, it is right.
    click_in_order("I like apples.");
    EXPECT_FALSE(ui::verdict_shown());
    EXPECT_EQ(line(), " I like apples.");
    bool tick_during_pause = false;
    fake_time().during_sleep = [&](int) { tick_during_pause = ui::verdict_shown(); };
    click(ow::window, ow::超级按钮_提交答案);
    EXPECT_TRUE(last_played_one_of(catalogue::ordering_right_clips()));
    EXPECT_TRUE(tick_during_pause);
    EXPECT_FALSE(ui::verdict_shown());
    EXPECT_TRUE(log.has("ui verdict 透明标签p_排列好的 = right 738,24"));
}

TEST_F(OrderingWindowTest, TheLastClickedWordIsBlueAndLargeTheEarlierOnesDarkBlue) {
    use_lists({"Where is my cat?"});
    open();
    const int dealt[] = {0, get(label(1), ui::prop::kWidth), get(label(2), ui::prop::kWidth),
                         get(label(3), ui::prop::kWidth)};
    press(ow::window, label(1));
    press(ow::window, label(2));
    press(ow::window, label(3));
    EXPECT_EQ(points(3), 20);
    EXPECT_EQ(colour(label(3)), 0xFF0000);
    EXPECT_EQ(get(label(3), ui::prop::kWidth), static_cast<int>(dealt[3] * 1.5));
    for (int k : {1, 2}) {
        SCOPED_TRACE(k);
        EXPECT_EQ(points(k), 14);
        EXPECT_EQ(colour(label(k)), 0x800000);
        EXPECT_EQ(get(label(k), ui::prop::kWidth), dealt[k]);
    }
    EXPECT_EQ(points(4), 14);
    EXPECT_EQ(colour(label(4)), 0);

    // Redo: the line starts again in grey, the last word goes dark blue at its dealt width.
    click(ow::window, ow::超级按钮_重做);
    EXPECT_EQ(line(), gbk("重新开始吧！"));
    EXPECT_EQ(colour(ow::透明标签p_排列好的), 0x808080);
    EXPECT_EQ(points(3), 14);
    EXPECT_EQ(colour(label(3)), 0x800000);
    EXPECT_EQ(get(label(3), ui::prop::kWidth), dealt[3]);
    EXPECT_TRUE(visible(ow::超级按钮_重做));
    // Clicking the same word again and again never makes it grow beyond half as wide again.
    for (int i = 0; i < 3; ++i) press(ow::window, label(3));
    EXPECT_EQ(get(label(3), ui::prop::kWidth), static_cast<int>(dealt[3] * 1.5));
}

TEST_F(OrderingWindowTest, TheAnswerShownAndSubmittedIsRight) {
    use_lists({"It is red. "});  // stored with a trailing space
    open();
    click(ow::window, ow::超级按钮_答案);
    EXPECT_EQ(line(), "It is red. ");
    EXPECT_EQ(colour(ow::透明标签p_排列好的), 0);
    sound().played.clear();
    click(ow::window, ow::超级按钮_提交答案);
    EXPECT_TRUE(last_played_one_of(catalogue::ordering_right_clips()));
}

TEST_F(OrderingWindowTest, BothSwitchesOffAtStartPlayNothingAndHideTheTranslation) {
    use_lists({"Good morning, Miss Li."});
    open();
    click(ow::window, ow::选择框_排序读音开关);
    click(ow::window, ow::选择框_排序汉语翻译开关);
    EXPECT_EQ(ui::get_text(ow::window, ow::选择框_排序读音开关, ui::prop::kCheckCaption), gbk("读音开"));
    EXPECT_EQ(ui::get_text(ow::window, ow::选择框_排序汉语翻译开关, ui::prop::kCheckCaption), gbk("汉语翻译开"));
    // Only the captions change until the next start.
    EXPECT_TRUE(visible(ow::透明标签p_汉语翻译));
    sound().played.clear();
    click(ow::window, ow::超级按钮_排序开始);
    EXPECT_TRUE(sound().played.empty());
    EXPECT_FALSE(visible(ow::透明标签p_汉语翻译));
    for (auto u : kTranslationLines) EXPECT_FALSE(visible(u));
    EXPECT_TRUE(visible(label(1)));
    EXPECT_EQ(line(), gbk("请按照你认为正确的单词顺序单击上面单词，然后看看我什么变化哦..."));
    EXPECT_EQ(colour(ow::透明标签p_排列好的), 0x808080);
    click(ow::window, ow::选择框_排序读音开关);
    EXPECT_EQ(ui::get_text(ow::window, ow::选择框_排序读音开关, ui::prop::kCheckCaption), gbk("读音关"));
}

TEST_F(OrderingWindowTest, APageWhoseListsDifferInLengthDealsNothingAndSaysSo) {
    use_lists({"Good morning.", "How are you?"}, 3);  // one clip more than sentences
    open();
    for (int k = 1; k <= 10; ++k) EXPECT_FALSE(visible(label(k)));
    EXPECT_FALSE(visible(ow::透明标签p_汉语翻译));
    EXPECT_TRUE(sound().played.empty());
    // The pupil is told there is nothing to order, as for a page without sentences.
    ASSERT_EQ(boxes().shown.size(), 1u);
    EXPECT_EQ(boxes().shown[0].text, gbk("这一页没有可以排序的句子。"));
    // Nothing to judge or show.
    click(ow::window, ow::超级按钮_提交答案);
    click(ow::window, ow::超级按钮_答案);
    EXPECT_TRUE(sound().played.empty());
    EXPECT_EQ(line(), gbk("请按照你认为正确的单词顺序单击上面单词，然后看看我什么变化哦..."));
}

TEST_F(OrderingWindowTest, ListsWithoutASentenceToDealSayHow) {
    for (auto sentences : {std::vector<Text>{}, std::vector<Text>{"$", "Hi!"}}) {
        boxes().shown.clear();
        use_lists(sentences);
        open();
        ASSERT_EQ(boxes().shown.size(), 1u);
        EXPECT_EQ(boxes().shown[0].text, gbk("这一页没有可以排序的句子。"));
        for (int k = 1; k <= 10; ++k) EXPECT_FALSE(visible(label(k)));
        ui::close_all_windows();
    }
}

TEST_F(OrderingWindowTest, ClosingStopsTheClips) {
    use_lists({"Hello, Tom."});
    open();
    const int stops = sound().stops;
    click(ow::window, ow::超级按钮_提交答案1);
    EXPECT_FALSE(ui::window_shown(ow::window));
    EXPECT_GT(sound().stops, stops);
}

// Every sentence of the book that can be dealt: each word's letters fit its label, at 14 points
// as dealt and at 20 points when clicked, no word reaches into the next one, and the last stays
// inside the frame.
TEST_F(OrderingWindowTest, EverySentenceOfTheBookIsDealtInsideItsFrame) {
    use_lists({"Hello there."});
    open();
    const int frame = get(ow::分组框_随机的单词, ui::prop::kWidth);
    int dealt = 0;
    for (int page = 0; page < volume::kContentPages; ++page) {
        for (const Text& sentence : book_sentences(page)) {
            const int words = static_cast<int>(split(sentence, " ").size());
            if (words < drills::kFewestWords || words > drills::kMostWords) continue;
            SCOPED_TRACE("page " + std::to_string(page) + ": " + sentence);
            use_lists({sentence});
            click(ow::window, ow::超级按钮_排序开始);
            for (int k = 1; k <= words; ++k) {
                SCOPED_TRACE(k);
                ASSERT_TRUE(visible(label(k)));
                const Text word = caption(label(k));
                const int left = get(label(k), ui::prop::kLeft);
                const int width = get(label(k), ui::prop::kWidth);
                EXPECT_LE(ui::text_width(label_font(k, 14), word), width);
                EXPECT_LE(ui::text_width(label_font(k, 20), word), static_cast<int>(width * 1.5));
                EXPECT_LE(left + width, frame);
                if (k < words) {
                    const int next = get(label(k + 1), ui::prop::kLeft);
                    EXPECT_LT(left + width, next);
                    EXPECT_LE(left + ui::text_width(label_font(k, 20), word), next);
                } else {
                    EXPECT_LE(left + ui::text_width(label_font(k, 20), word), frame);
                }
            }
            EXPECT_FALSE(visible(label(words + 1)));
            ++dealt;
        }
    }
    EXPECT_GT(dealt, 300);
}

}  // namespace

// Through the toolbar, as the pupil opens it: a modal window dealing a sentence of the spread.
TEST_F(MainWindowTest, OrderingButtonDealsASentenceOfTheSpreadAndCloseStopsItsClip) {
    click(mw::超级按钮_下一页);
    EXPECT_TRUE(open_look_and_close(mw::超级按钮_排序, ow::window, ow::超级按钮_提交答案1, [] {
        return ui::get_int(ow::window, ow::透明标签p_打乱的单词1, ui::prop::kVisible) == 1 &&
               ui::get_int(ow::window, ow::透明标签p_汉语翻译, ui::prop::kVisible) == 1;
    })) << "the window deals the words and shows the translation";
}

TEST_F(OrderingWindowTest, AWrongAnswerPutsItsSentenceInTheMistakesBox) {
    use_lists({"I like apples."});
    open();
    press(ow::window, label(1));
    press(ow::window, label(1));
    click(ow::window, ow::超级按钮_提交答案);
    click_in_order("I like apples.");
    click(ow::window, ow::超级按钮_提交答案);
    const content::MistakesBox& box = content::mistakes();
    ASSERT_EQ(box.count(), 1);
    EXPECT_EQ(box.entries()[0].origin, content::MistakeOrigin::Ordering);
    EXPECT_EQ(box.entries()[0].text, "I like apples.");
}

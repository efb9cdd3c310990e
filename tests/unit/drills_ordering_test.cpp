// The ordering rules: which sentences are dealt, the deal's layout, the arranged line and judging.
#include <gtest/gtest.h>

#include <deque>

#include "drills/ordering.hpp"
#include "support/scripted_random.hpp"
#include "support/text_lists.hpp"

using namespace tb;
using namespace tb::drills;

namespace {

using tb::test::list_of;
using tb::test::scripted;

std::vector<Text> dealt_words(const Ordering& game) {
    std::vector<Text> words;
    for (const DealtWord& d : game.dealt()) words.push_back(d.word);
    return words;
}

// Clicks every label in turn.
void click_all(Ordering& game) {
    for (int k = 1; k <= static_cast<int>(game.dealt().size()); ++k) ASSERT_TRUE(game.click(k));
}

}  // namespace

TEST(OrderingGame, DealsOnlySentencesOfTwoToNineWords) {
    const auto sentences = list_of({"One two three four five six seven eight nine ten.", "Hi!", "$",
                                    "One two three four five six seven eight nine."});
    const auto translations = list_of({"a", "b", "$", "c"});
    // Every draw takes the first choice: the sentence of nine words is the only one to deal.
    Ordering game(scripted({}));
    ASSERT_EQ(game.start(sentences, translations, 4), Ordering::Outcome::Dealt);
    EXPECT_EQ(game.sentence_number(), 4);
    ASSERT_EQ(game.dealt().size(), 9u);
    EXPECT_EQ(dealt_words(game), (std::vector<Text>{"One", "two", "three", "four", "five", "six", "seven", "eight",
                                                    "nine."}));
    // 13 pixels a byte, 20 between the labels, from the first label's left.
    EXPECT_EQ(game.dealt()[0].offset, 0);
    EXPECT_EQ(game.dealt()[0].width, 39);
    EXPECT_EQ(game.dealt()[1].offset, 59);
    EXPECT_EQ(game.dealt()[2].offset, 59 + 39 + 20);
    EXPECT_EQ(game.dealt()[8].width, 65);

    EXPECT_EQ(game.start(list_of({"Hi!", "$", "a b c d e f g h i j"}), list_of({"a", "b", "c"}), 3),
              Ordering::Outcome::NothingToDeal);
    EXPECT_EQ(game.start(List<Text>{}, List<Text>{}, 0), Ordering::Outcome::NothingToDeal);
    EXPECT_FALSE(game.dealt_any());
}

TEST(OrderingGame, TheDealIsTheDrawnPermutation) {
    // Always the last remaining word: the sentence comes out reversed.
    Ordering game([](int, int high) { return high; });
    ASSERT_EQ(game.start(list_of({"Where is my cat?"}), list_of({"x"}), 1), Ordering::Outcome::Dealt);
    EXPECT_EQ(dealt_words(game), (std::vector<Text>{"cat?", "my", "is", "Where"}));
    Ordering second(scripted({1, 1, 2, 1, 1}));  // the sentence, then the words
    ASSERT_EQ(second.start(list_of({"Where is my cat?"}), list_of({"x"}), 1), Ordering::Outcome::Dealt);
    EXPECT_EQ(dealt_words(second), (std::vector<Text>{"Where", "my", "is", "cat?"}));
}

TEST(OrderingGame, ListsOfDifferentLengthDealNothingAndForgetTheSentence) {
    Ordering game(scripted({}));
    ASSERT_EQ(game.start(list_of({"Good morning."}), list_of({"x"}), 1), Ordering::Outcome::Dealt);
    EXPECT_EQ(game.start(list_of({"Good morning."}), list_of({"x"}), 2), Ordering::Outcome::CountsDiffer);
    EXPECT_FALSE(game.dealt_any());
    EXPECT_EQ(game.sentence(), "");
    EXPECT_FALSE(game.click(1));
    game.show_answer();
    EXPECT_EQ(game.line(), Ordering::Line::Prompt);
    EXPECT_FALSE(game.submit());
}

TEST(OrderingGame, ClickingInOrderIsRightAndAWordTwiceIsWrong) {
    Ordering game(scripted({}));
    ASSERT_EQ(game.start(list_of({"I like apples."}), list_of({"x"}), 1), Ordering::Outcome::Dealt);
    EXPECT_EQ(game.line(), Ordering::Line::Prompt);
    click_all(game);
    EXPECT_EQ(game.line(), Ordering::Line::Arranged);
    EXPECT_EQ(game.arranged(), " I like apples.");
    EXPECT_EQ(game.clicks(), 3);
    EXPECT_EQ(game.last_clicked(), 3);
    EXPECT_TRUE(game.submit());
    EXPECT_EQ(game.arranged(), " I like apples.");  // a right answer stays on the line
    EXPECT_EQ(game.clicks(), 0);

    // The first click after a submit starts a new line.
    ASSERT_TRUE(game.click(1));
    ASSERT_TRUE(game.click(1));
    ASSERT_TRUE(game.click(2));
    ASSERT_TRUE(game.click(3));
    EXPECT_EQ(game.arranged(), " I I like apples.");
    EXPECT_FALSE(game.submit());
    EXPECT_EQ(game.line(), Ordering::Line::StartAgain);
    EXPECT_EQ(game.arranged(), "");
    EXPECT_EQ(game.clicks(), 0);
    EXPECT_FALSE(game.click(4));  // no fourth word
}

TEST(OrderingGame, RedoStartsTheLineAgain) {
    Ordering game(scripted({}));
    ASSERT_EQ(game.start(list_of({"I like apples."}), list_of({"x"}), 1), Ordering::Outcome::Dealt);
    ASSERT_TRUE(game.click(2));
    game.redo();
    EXPECT_EQ(game.line(), Ordering::Line::StartAgain);
    EXPECT_EQ(game.clicks(), 0);
    EXPECT_EQ(game.last_clicked(), 2);
    click_all(game);
    EXPECT_EQ(game.arranged(), " I like apples.");
    EXPECT_TRUE(game.submit());
}

TEST(OrderingGame, TheAnswerSubmittedIsRightAlsoWithATrailingSpace) {
    Ordering game(scripted({}));
    for (const char* sentence : {"It is red.", "It is red. "}) {
        SCOPED_TRACE(sentence);
        ASSERT_EQ(game.start(list_of({sentence}), list_of({"x"}), 1), Ordering::Outcome::Dealt);
        EXPECT_EQ(game.dealt().size(), 3u);
        game.show_answer();
        EXPECT_EQ(game.line(), Ordering::Line::Arranged);
        EXPECT_EQ(game.arranged(), sentence);
        EXPECT_TRUE(game.submit());
        // Clicked in order it is right too, although the stored sentence ends in a space.
        ASSERT_EQ(game.start(list_of({sentence}), list_of({"x"}), 1), Ordering::Outcome::Dealt);
        click_all(game);
        EXPECT_TRUE(game.submit());
    }
    // A click after the answer appends to it while the count runs on.
    ASSERT_EQ(game.start(list_of({"It is red."}), list_of({"x"}), 1), Ordering::Outcome::Dealt);
    ASSERT_TRUE(game.click(1));
    game.show_answer();
    ASSERT_TRUE(game.click(3));
    EXPECT_EQ(game.arranged(), "It is red. red.");
}

TEST(OrderingGame, HighlightedWidthIsHalfAsWideAgain) {
    EXPECT_EQ((DealtWord{"cat", 0, 39}.highlighted_width()), 58);
    EXPECT_EQ((DealtWord{"cats", 0, 52}.highlighted_width()), 78);
}

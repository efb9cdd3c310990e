// The fill-in rules: the blank answer, where the box goes, the draw of a question and the judging.
#include <gtest/gtest.h>

#include <deque>

#include "drills/fill_in.hpp"
#include "support/scripted_random.hpp"
#include "support/text_lists.hpp"

using namespace tb;
using namespace tb::drills;

namespace {

using tb::test::list_of;
using tb::test::scripted;

double eleven_per_byte(std::string_view t) { return 11.0 * static_cast<double>(t.size()); }

}  // namespace

TEST(FillInAnswer, LosesExactlyOneTrailingMark) {
    const std::pair<Text, Text> cases[] = {
        {"Hello,", "Hello"}, {"Hi!", "Hi"}, {"me.", "me"}, {"you?", "you"}, {"Wow!!", "Wow!"},
        {"What?!", "What?"}, {"cat", "cat"}, {"", ""},
        // Other signs stay: quotes, the full-width exclamation mark, the empty marker.
        {"\"Hi\"", "\"Hi\""}, {gbk("好！"), gbk("好！")}, {"$", "$"},
        // An ellipsis goes as a whole.
        {"three...", "three"}, {"so..", "so."}};
    for (const auto& [word, answer] : cases) EXPECT_EQ(blank_answer(word), answer) << word;
}

TEST(FillInBox, CoversTheFirstWholeWordWithTheAnswersCase) {
    // "a" is the word "a", not the letter inside "can".
    EXPECT_EQ(blank_box("I can see a cat.", "a", eleven_per_byte), (BlankBox{110, 12}));
    // "it" is the later "it." (its full stop is not the answer), not the capitalised first word.
    EXPECT_EQ(blank_box("It is it.", "it", eleven_per_byte), (BlankBox{66, 23}));
    EXPECT_EQ(blank_box("This is big.", "is", eleven_per_byte), (BlankBox{55, 23}));
    EXPECT_EQ(blank_box("Yes, yes!", "yes", eleven_per_byte), (BlankBox{55, 34}));
    EXPECT_EQ(blank_box("Look at me.", "Look", eleven_per_byte), (BlankBox{0, 45}));
    // The inner margin widens the box on both sides.
    EXPECT_EQ(blank_box("Look at me.", "at", eleven_per_byte, 4), (BlankBox{55 - 4, 22 + 8 + 1}));
    // The empty answer (two spaces in a row) gives the empty box at the start.
    EXPECT_EQ(blank_box("Good  morning", "", eleven_per_byte, 4), (BlankBox{0, 0}));
}

TEST(FillInBox, FollowsTheMeasuredWidthsOfAProportionalFace) {
    // A wide W and narrow everything else: the box must start after the W's real width.
    auto measure = [](std::string_view t) {
        double w = 0;
        for (char c : t) w += c == 'W' ? 20.5 : 7.25;
        return w;
    };
    const BlankBox b = blank_box("We WIN now.", "now", measure);
    const double start = measure("We WIN ");
    EXPECT_EQ(b.left, static_cast<int>(start));
    EXPECT_GE(b.left + b.width, start + measure("now"));
}

TEST(FillInGame, DrawsASentenceAndAWordAndJudgesByteForByte) {
    FillIn game(scripted({2, 3}));
    const List<Text> sentences = list_of({"Hello!", "I like cakes, too.", "$"});
    const List<Text> translations = list_of({"a", "b", "$"});
    ASSERT_EQ(game.ask(sentences, translations), FillIn::Outcome::Asked);
    EXPECT_EQ(game.question().number, 2);
    EXPECT_EQ(game.question().sentence, "I like cakes, too.");
    EXPECT_EQ(game.question().answer, "cakes");
    EXPECT_TRUE(game.judge("cakes"));
    EXPECT_FALSE(game.judge("cakes,"));  // the mark typed too
    EXPECT_FALSE(game.judge("Cakes"));
    EXPECT_FALSE(game.judge("cakes "));
    EXPECT_FALSE(game.judge(" cakes"));
    EXPECT_FALSE(game.judge(""));
}

TEST(FillInGame, TwoSpacesInARowGiveTheEmptyAnswer) {
    FillIn game(scripted({1, 2}));
    ASSERT_EQ(game.ask(list_of({"Good  morning."}), list_of({"x"})), FillIn::Outcome::Asked);
    EXPECT_EQ(game.question().answer, "");
    EXPECT_TRUE(game.judge(""));
}

TEST(FillInGame, NeverDrawsAnEmptyMarkerAndEndsOnAListWithoutWords) {
    // Every draw asks for the first choice: the "$" sentences are not among the choices.
    FillIn game(scripted({}));
    ASSERT_EQ(game.ask(list_of({"$", "$", "Good night."}), list_of({"$", "$", "x"})), FillIn::Outcome::Asked);
    EXPECT_EQ(game.question().number, 3);
    EXPECT_EQ(game.question().answer, "Good");

    // Nothing to ask: an empty list, or one of markers only. No question is left to judge.
    EXPECT_EQ(game.ask(List<Text>{}, List<Text>{}), FillIn::Outcome::NothingToAsk);
    EXPECT_EQ(game.ask(list_of({"$", "$"}), list_of({"$", "$"})), FillIn::Outcome::NothingToAsk);
    EXPECT_EQ(game.ask(list_of({""}), list_of({""})), FillIn::Outcome::NothingToAsk);
    EXPECT_FALSE(game.asked());
    EXPECT_FALSE(game.judge(""));
}

TEST(FillInGame, ListsOfDifferentLengthAskNothing) {
    FillIn game(scripted({}));
    ASSERT_EQ(game.ask(list_of({"One two."}), list_of({"x"})), FillIn::Outcome::Asked);
    EXPECT_EQ(game.ask(list_of({"One two.", "Three four."}), list_of({"x"})), FillIn::Outcome::CountsDiffer);
    EXPECT_FALSE(game.asked());
}

TEST(FillInGame, DrawsOutsideTheRangeAreHeldToIt) {
    FillIn game([](int, int) { return 99; });
    ASSERT_EQ(game.ask(list_of({"One two.", "Three four five."}), list_of({"x", "y"})), FillIn::Outcome::Asked);
    EXPECT_EQ(game.question().number, 2);
    EXPECT_EQ(game.question().answer, "five");
}

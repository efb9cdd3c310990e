// The fill-in and ordering windows' verdicts: right or wrong with the feedback clip to play,
// drawn from the game's own random source (right's clip first, then wrong's, whatever the
// answer); the word labels measured by the width the game is given; and the one owner each game
// is held in.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "content/game_owner.hpp"
#include "drills/fill_in.hpp"
#include "drills/ordering.hpp"
#include "support/scripted_random.hpp"
#include "support/text_lists.hpp"

using namespace tb;
using namespace tb::drills;

namespace {

using tb::test::list_of;
using tb::test::scripted;
using tb::test::ScriptedRandom;
using Ranges = std::vector<std::pair<int, int>>;

}  // namespace

TEST(ExerciseVerdicts, AFillInAnswerKeepsTheClipOfItsVerdict) {
    ScriptedRandom r;
    r.script = {1, 2, 2, 3, 1, 3};  // sentence 1, its word 2; then two judgings, right's clip first
    FillIn game(r.source());
    ASSERT_EQ(game.ask(list_of({"Good morning."}), list_of({"x"})), FillIn::Outcome::Asked);
    ASSERT_EQ(game.question().answer, "morning");
    EXPECT_EQ(game.check("morning"), (Verdict{true, 2}));
    EXPECT_EQ(game.check("Morning"), (Verdict{false, 3}));
    EXPECT_EQ(r.ranges, (Ranges{{1, 1}, {1, 2}, {1, 3}, {1, 3}, {1, 3}, {1, 3}}));
}

TEST(ExerciseVerdicts, AFillInWithoutAQuestionGivesNoVerdictAndDrawsNothing) {
    ScriptedRandom r;
    FillIn game(r.source());
    EXPECT_EQ(game.check(""), std::nullopt);
    ASSERT_EQ(game.ask(list_of({"$"}), list_of({"x"})), FillIn::Outcome::NothingToAsk);
    EXPECT_EQ(game.check("$"), std::nullopt);
    EXPECT_TRUE(r.ranges.empty());
}

TEST(ExerciseVerdicts, ClipsDrawnOutsideTheirRangeAreHeldToIt) {
    FillIn game(scripted({1, 1, 0, 9, 7, -2}));
    ASSERT_EQ(game.ask(list_of({"Hi."}), list_of({"x"})), FillIn::Outcome::Asked);
    EXPECT_EQ(game.check("Hi"), (Verdict{true, 1}));
    EXPECT_EQ(game.check("hi"), (Verdict{false, 1}));
    Ordering ordering(scripted({1, 1, 1, 1, 9}));
    ASSERT_EQ(ordering.start(list_of({"Hi there."}), list_of({"x"}), 1), Ordering::Outcome::Dealt);
    EXPECT_EQ(ordering.check(), (Verdict{false, kFeedbackClipChoices}));  // nothing clicked: wrong
}

TEST(ExerciseVerdicts, AnOrderedLineKeepsTheClipOfItsVerdict) {
    ScriptedRandom r;
    r.script = {1, 1, 1, 3, 1, 2, 3};  // the sentence and its two words in order; then two judgings
    Ordering game(r.source());
    ASSERT_EQ(game.start(list_of({"Good morning."}), list_of({"x"}), 1), Ordering::Outcome::Dealt);
    ASSERT_TRUE(game.click(1));
    ASSERT_TRUE(game.click(2));
    EXPECT_EQ(game.check(), (Verdict{true, 3}));
    ASSERT_TRUE(game.click(2));
    ASSERT_TRUE(game.click(1));
    EXPECT_EQ(game.check(), (Verdict{false, 3}));
    EXPECT_EQ(game.line(), Ordering::Line::StartAgain);  // a wrong line is emptied for a new try
    EXPECT_EQ(r.ranges, (Ranges{{1, 1}, {1, 2}, {1, 1}, {1, 3}, {1, 3}, {1, 3}, {1, 3}}));
}

TEST(ExerciseVerdicts, SubmittingWithNothingDealtStillDrawsButGivesNoVerdict) {
    // The window has always drawn both clips before looking: later draws depend on it.
    ScriptedRandom r;
    Ordering game(r.source());
    ASSERT_EQ(game.start(list_of({"Hi."}), list_of({"x"}), 1), Ordering::Outcome::NothingToDeal);
    EXPECT_EQ(game.check(), std::nullopt);
    EXPECT_EQ(r.ranges, (Ranges{{1, 3}, {1, 3}}));
}

TEST(ExerciseVerdicts, WordLabelsAreAsWideAsTheGivenWidthMakesThem) {
    std::vector<int> per_byte;
    const ByteWidth width = [&](std::string_view word, int pixels_per_byte) {
        per_byte.push_back(pixels_per_byte);
        return 10.0 * static_cast<double>(word.size()) + 0.9;  // the fraction is cut
    };
    Ordering game(scripted({1, 1, 1}), width);
    ASSERT_EQ(game.start(list_of({"I see you."}), list_of({"x"}), 1), Ordering::Outcome::Dealt);
    ASSERT_EQ(game.dealt().size(), 3u);
    EXPECT_EQ(game.dealt()[0].width, 10);
    EXPECT_EQ(game.dealt()[1].width, 30);
    EXPECT_EQ(game.dealt()[2].width, 40);
    EXPECT_EQ(game.dealt()[1].offset, 10 + kWordGap);
    EXPECT_EQ(game.dealt()[2].offset, 10 + 30 + 2 * kWordGap);
    EXPECT_EQ(per_byte, (std::vector<int>(3, kOrderingWordPixelsPerByte)));
}

TEST(GameOwner, HoldsTheRulesATestPutsInUntilReset) {
    content::GameOwner<FillIn> owner;
    owner.replace_for_test(FillIn(scripted({2, 1})));
    ASSERT_EQ(owner.current().ask(list_of({"Hello!", "Good morning."}), list_of({"x", "y"})),
              FillIn::Outcome::Asked);
    EXPECT_EQ(owner.current().question().answer, "Good");
    owner.mistakes_run() = {4, 7};
    owner.replace_for_test(FillIn(scripted({1, 1})));
    EXPECT_FALSE(owner.current().asked());   // new rules, nothing asked yet
    EXPECT_EQ(owner.mistakes_run().run, 4);  // the run is the handlers', not the rules'
    owner.reset();
    EXPECT_FALSE(owner.current().asked());
    EXPECT_EQ(owner.mistakes_run().run, 0);
    EXPECT_EQ(owner.mistakes_run().page_or_lesson, 0);
}

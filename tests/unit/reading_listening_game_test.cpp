// The listening games' rules, with scripted random draws: which item is asked, which presses are
// right, items without text, the end of a game and spreads whose lists and hotspots disagree.
#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "reading/listening_game.hpp"
#include "runtime/random.hpp"
#include "support/scripted_random.hpp"

using namespace tb;
using namespace tb::reading;

namespace {

using Draws = tb::test::ScriptedRandom;

List<Text> texts(std::initializer_list<const char*> items) {
    List<Text> out;
    for (const char* t : items) out.append(gbk(t));
    return out;
}

List<Blob> clips(int n) {
    List<Blob> out;
    for (int i = 1; i <= n; ++i) out.append(Blob{static_cast<std::uint8_t>(i)});
    return out;
}

// Hotspot i lies at left 100 i, top 50, 60 wide and 20 high.
std::vector<NumberedBox> hotspots(int n) {
    std::vector<NumberedBox> out;
    for (int i = 1; i <= n; ++i) out.push_back({i, {100 * i, 100 * i + 60, 50, 70}});
    return out;
}

}  // namespace

TEST(ListeningGame, APressIsRightOnlyStrictlyInsideTheBoxOrJustAboveIt) {
    struct Case {
        double x, y;
        bool right;
        const char* what;
    };
    const Case cases[] = {
        {130, 60, true, "inside"},
        {100, 60, false, "on the left edge"},
        {160, 60, false, "on the right edge"},
        {101, 60, true, "just inside the left edge"},
        {159, 69, true, "just inside the bottom right corner"},
        {130, 70, false, "on the bottom edge"},
        {130, 50, true, "on the top edge"},
        {130, 41, true, "9 pixels above the top"},
        {130, 40, false, "10 pixels above the top"},
        {130, 40.5, true, "9.5 pixels above the top"},
        {230, 60, false, "inside another item's box"},
    };
    for (const Case& c : cases) {
        Draws d;
        ListeningGame game(d.source());
        game.start(ListeningMode::Find, hotspots(3), texts({"一", "二", "三"}), {});
        ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
        ASSERT_EQ(game.question_translation(), gbk("一"));
        const auto v = game.judge(c.x, c.y);
        ASSERT_TRUE(v);
        EXPECT_EQ(v->right, c.right) << c.what;
        EXPECT_EQ(game.question_out(), !c.right) << c.what;
    }
}

TEST(ListeningGame, BoxesAreOrderedByHotspotNumberWhateverOrderTheyCameIn) {
    std::vector<NumberedBox> shuffled = {{3, {300, 360, 0, 10}}, {1, {100, 160, 0, 10}}, {2, {200, 260, 0, 10}}};
    Draws d;
    d.script = {2};
    ListeningGame game(d.source());
    game.start(ListeningMode::Find, shuffled, texts({"一", "二", "三"}), {});
    ASSERT_EQ(game.page_boxes().size(), 3u);
    EXPECT_EQ(game.page_boxes()[0].left, 100);
    EXPECT_EQ(game.page_boxes()[2].right, 360);
    ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
    EXPECT_EQ(game.question_translation(), gbk("二"));
    EXPECT_FALSE(game.judge(130, 5)->right);
    EXPECT_TRUE(game.judge(230, 5)->right);
}

TEST(ListeningGame, HotspotsWithTheSameTranslationAreAllRight) {
    for (int asked : {1, 3}) {
        for (int pressed : {1, 3}) {
            Draws d;
            d.script = {asked};
            ListeningGame game(d.source());
            game.start(ListeningMode::Practice, hotspots(3), texts({"你好", "再见", "你好"}), clips(3));
            ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
            EXPECT_EQ(game.accepted_answers(), (std::vector<int>{1, 3}));
            EXPECT_EQ(game.question_clip(), Blob{static_cast<std::uint8_t>(asked)});
            EXPECT_TRUE(game.judge(100 * pressed + 30, 60)->right) << asked << " " << pressed;
        }
    }
}

TEST(ListeningGame, ARightAnswerTakesTheItemOutAndAWrongOneKeepsTheQuestion) {
    Draws d;
    // Question 2 ("二"); a wrong press draws clips 3 and 4; then the right press draws 2 and 1.
    d.script = {2, 3, 4, 2, 1};
    ListeningGame game(d.source());
    game.start(ListeningMode::Practice, hotspots(3), texts({"一", "二", "三"}), clips(3));
    ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
    auto wrong = game.judge(130, 60);
    EXPECT_FALSE(wrong->right);
    EXPECT_EQ(wrong->clip, 4);  // the second draw chooses among the wrong-answer clips
    EXPECT_TRUE(game.question_out());
    EXPECT_EQ(game.question_translation(), gbk("二"));
    EXPECT_EQ(game.question_clip(), Blob{2});
    auto right = game.judge(230, 60);
    EXPECT_TRUE(right->right);
    EXPECT_EQ(right->clip, 2);  // the first draw chooses among the right-answer clips
    EXPECT_FALSE(right->complete);
    EXPECT_FALSE(game.question_out());
    EXPECT_EQ(game.open_translation_count(), 2);
    EXPECT_EQ(game.open_box_count(), 2);
    EXPECT_EQ(game.open_clip_count(), 2);
    // Every judgement draws 1..3 and 1..4.
    EXPECT_EQ(d.ranges[1], (std::pair{1, 3}));
    EXPECT_EQ(d.ranges[2], (std::pair{1, 4}));
    // The next question is drawn from the two left; open item 2 is now "三", with its own clip.
    d.script = {2};
    ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
    EXPECT_EQ(d.ranges.back(), (std::pair{1, 2}));
    EXPECT_EQ(game.question_translation(), gbk("三"));
    EXPECT_EQ(game.question_clip(), Blob{3});
}

TEST(ListeningGame, TheLastRightAnswerCompletesTheGame) {
    Draws d;
    ListeningGame game(d.source());
    game.start(ListeningMode::Find, hotspots(2), texts({"一", "二"}), {});
    ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
    EXPECT_FALSE(game.judge(130, 60)->complete);
    ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
    EXPECT_EQ(game.question_translation(), gbk("二"));
    const auto last = game.judge(230, 60);
    EXPECT_TRUE(last->right);
    EXPECT_TRUE(last->complete);
    EXPECT_FALSE(game.question_out());
    EXPECT_FALSE(game.judge(230, 60)) << "with no question out nothing is judged";
    EXPECT_EQ(game.next_question(), ListeningGame::Next::Complete);
}

TEST(ListeningGame, ItemsWithoutTextAreNeverAskedAndLeaveAsTheyAreDrawn) {
    Draws d;
    d.script = {1, 1};  // draws "$" first, then "一" from the three left
    ListeningGame game(d.source());
    game.start(ListeningMode::Practice, hotspots(4), texts({"$", "一", "$", "二"}), clips(4));
    ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
    EXPECT_EQ(game.question_translation(), gbk("一"));
    EXPECT_EQ(game.question_clip(), Blob{2});
    EXPECT_EQ(game.open_translation_count(), 3);
    EXPECT_EQ(game.open_box_count(), 3);
    EXPECT_EQ(game.open_clip_count(), 3);

    // With any draws, a game of this spread asks exactly its two items with text.
    for (int seed = 0; seed < 50; ++seed) {
        ListeningGame g;  // the clock-seeded source
        g.start(ListeningMode::Find, hotspots(4), texts({"$", "一", "$", "二"}), {});
        std::multiset<Text> asked;
        while (g.next_question() == ListeningGame::Next::Asked) {
            asked.insert(g.question_translation());
            const int item = g.accepted_answers().front();
            ASSERT_TRUE(g.judge(100 * item + 1, 51)->right);
        }
        EXPECT_EQ(asked, (std::multiset<Text>{gbk("一"), gbk("二")}));
    }
}

TEST(ListeningGame, AGameWhoseOpenItemsAreAllWithoutTextEndsAsComplete) {
    Draws d;
    ListeningGame game(d.source());
    game.start(ListeningMode::Find, hotspots(2), texts({"$", "$"}), {});
    EXPECT_EQ(game.next_question(), ListeningGame::Next::Complete);
    EXPECT_FALSE(game.question_out());
    EXPECT_EQ(game.open_translation_count(), 0);

    // The last item with text answered while an item without text is still open: the answer is
    // not the last, and the next draw finds nothing left to ask.
    Draws d2;
    d2.script = {2};
    ListeningGame g(d2.source());
    g.start(ListeningMode::Practice, hotspots(2), texts({"$", "一"}), clips(2));
    ASSERT_EQ(g.next_question(), ListeningGame::Next::Asked);
    EXPECT_FALSE(g.judge(230, 60)->complete);
    EXPECT_EQ(g.next_question(), ListeningGame::Next::Complete);
}

TEST(ListeningGame, ListsAndHotspotsThatDisagreeInNumberAskNothing) {
    Draws d;
    ListeningGame find(d.source());
    find.start(ListeningMode::Find, hotspots(2), texts({"一", "二", "三"}), {});
    EXPECT_EQ(find.next_question(), ListeningGame::Next::CountMismatch);
    EXPECT_EQ(find.open_translation_count(), 3);
    EXPECT_EQ(find.open_box_count(), 2);
    EXPECT_FALSE(find.question_out());
    EXPECT_FALSE(find.judge(130, 60));
    EXPECT_EQ(find.next_question(), ListeningGame::Next::CountMismatch) << "every attempt is refused";
    EXPECT_TRUE(d.ranges.empty()) << "nothing was drawn";

    // Practice needs a clip for every item: fewer clips is a mismatch too, not a missing clip.
    ListeningGame practice(d.source());
    practice.start(ListeningMode::Practice, hotspots(3), texts({"一", "二", "三"}), clips(2));
    EXPECT_EQ(practice.next_question(), ListeningGame::Next::CountMismatch);
    EXPECT_EQ(practice.open_clip_count(), 2);
    EXPECT_EQ(practice.open_box_count(), 3);
    // More clips than items is fine: the items take the first ones.
    practice.start(ListeningMode::Practice, hotspots(3), texts({"一", "二", "三"}), clips(4));
    EXPECT_EQ(practice.next_question(), ListeningGame::Next::Asked);
    // Find uses no clips.
    find.start(ListeningMode::Find, hotspots(3), texts({"一", "二", "三"}), {});
    EXPECT_EQ(find.next_question(), ListeningGame::Next::Asked);
}

TEST(ListeningGame, EndingAGameLeavesNothingToJudgeAndKeepsTheMode) {
    Draws d;
    ListeningGame game(d.source());
    game.start(ListeningMode::Find, hotspots(2), texts({"一", "二"}), {});
    ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
    game.end();
    EXPECT_FALSE(game.question_out());
    EXPECT_FALSE(game.judge(130, 60));
    EXPECT_EQ(game.mode(), ListeningMode::Find);
    EXPECT_EQ(game.open_translation_count(), 0);
    // A new game after the end starts afresh, with the same random source.
    game.start(ListeningMode::Practice, hotspots(1), texts({"一"}), clips(1));
    EXPECT_EQ(game.next_question(), ListeningGame::Next::Asked);
    EXPECT_EQ(d.ranges.back(), (std::pair{1, 1}));
}

TEST(ListeningGame, TheReplayAsksExactlyTheItemsThatTookMoreThanOnePress) {
    Draws d;
    ListeningGame game(d.source());
    game.start(ListeningMode::Practice, hotspots(4), texts({"一", "二", "$", "四"}), clips(4));
    EXPECT_TRUE(game.missed_items().empty()) << "before the game has ended";
    EXPECT_FALSE(game.replay_missed());
    // Asked in order 1, 2, 4 (3 has no text): 2 takes three presses, 4 two, 1 one.
    const int wrong_presses[] = {0, 0, 2, 0, 1};
    for (int asked = 0; asked < 3; ++asked) {
        d.script = {1};
        ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
        const int item = game.question_item();
        for (int w = 0; w < wrong_presses[item]; ++w) ASSERT_FALSE(game.judge(5, 5)->right);
        EXPECT_EQ(game.presses_on(item), wrong_presses[item]);
        ASSERT_TRUE(game.judge(100 * item + 30, 60)->right);
        if (asked < 2) { EXPECT_TRUE(game.missed_items().empty()) << "the game is still on"; }
    }
    EXPECT_EQ(game.missed_items(), (std::vector<int>{2, 4}));

    ASSERT_TRUE(game.replay_missed());
    EXPECT_EQ(game.mode(), ListeningMode::Practice);
    EXPECT_EQ(game.open_translation_count(), 2);
    EXPECT_EQ(game.open_box_count(), 2);
    std::set<int> asked;
    for (int n = 0; n < 2; ++n) {
        ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
        asked.insert(game.question_item());
        EXPECT_EQ(game.question_clip(), (Blob{static_cast<std::uint8_t>(game.question_item())}));
        // The same judge: the item's own box, and nothing else, is right.
        const int other = game.question_item() == 2 ? 4 : 2;
        EXPECT_FALSE(game.judge(100 * other + 30, 60)->right);
        ASSERT_TRUE(game.judge(100 * game.question_item() + 30, 60)->right);
    }
    EXPECT_EQ(asked, (std::set<int>{2, 4}));
    EXPECT_EQ(game.next_question(), ListeningGame::Next::Complete);
    // Each took two presses in the replay, so both would come back again.
    EXPECT_EQ(game.missed_items(), (std::vector<int>{2, 4}));
}

TEST(ListeningGame, NothingIsReplayedAfterAFaultlessGameOrOnceTheGameHasEnded) {
    Draws d;
    ListeningGame game(d.source());
    game.start(ListeningMode::Find, hotspots(2), texts({"一", "二"}), {});
    for (int n = 0; n < 2; ++n) {
        ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
        ASSERT_TRUE(game.judge(100 * game.question_item() + 30, 60)->right);
    }
    EXPECT_TRUE(game.missed_items().empty());
    EXPECT_FALSE(game.replay_missed());

    game.start(ListeningMode::Find, hotspots(1), texts({"一"}), {});
    ASSERT_EQ(game.next_question(), ListeningGame::Next::Asked);
    game.judge(5, 5);
    game.judge(130, 60);
    ASSERT_EQ(game.missed_items(), (std::vector<int>{1}));
    game.end();  // the page was left
    EXPECT_TRUE(game.missed_items().empty());
    EXPECT_FALSE(game.replay_missed());
}

// The word drill's rules without the window: the order of the words, judging answers, the
// error record, the summary texts, resets, and lessons with no words.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <utility>

#include "content/catalogue.hpp"
#include "content/tables.hpp"
#include "content/volume.hpp"
#include "drills/word_drill.hpp"
#include "support/scripted_random.hpp"

using namespace tb;
using tb::drills::WordDrill;

namespace {

constexpr int kRandomOrder = 2;

// Three words, one a phrase with a capital; meanings with Chinese punctuation.
const Text kLesson = gbk("desk\r\n书桌\r\nPE class\r\n体育课\r\nwindow\r\n窗户；窗口");

List<Blob> clips_for(int words) {
    List<Blob> out;
    for (int n = 1; n <= words; ++n) out.append(Blob{static_cast<std::uint8_t>(n)});
    return out;
}

using tb::test::ScriptedRandom;

// Word numbers asked in one whole run.
std::vector<int> whole_run(WordDrill& d, int order) {
    std::vector<int> asked;
    while (d.next(order)) {
        asked.push_back(d.current_number());
        d.check(d.current_word());
    }
    return asked;
}

std::vector<Text> lines_of(const Text& text) { return split(text, "\r\n"); }

}  // namespace

TEST(WordDrill, TextbookOrderAsksEveryWordInTurnWithItsMeaningAndClip) {
    WordDrill d;
    d.start(kLesson, clips_for(3));
    EXPECT_TRUE(d.running());
    EXPECT_EQ(d.word_count(), 3);
    EXPECT_EQ(d.meaning_count(), 3);
    EXPECT_EQ(d.position(), 0);
    ASSERT_TRUE(d.next(drills::kTextbookOrder));
    EXPECT_EQ(d.current_number(), 1);
    EXPECT_EQ(d.current_word(), "desk");
    EXPECT_EQ(d.current_meaning(), gbk("书桌"));
    EXPECT_EQ(d.current_clip(), Blob{1});
    ASSERT_TRUE(d.next(drills::kTextbookOrder));
    EXPECT_EQ(d.current_word(), "PE class");
    ASSERT_TRUE(d.next(drills::kTextbookOrder));
    EXPECT_EQ(d.current_meaning(), gbk("窗户；窗口"));
    EXPECT_EQ(d.current_clip(), Blob{3});
    EXPECT_FALSE(d.next(drills::kTextbookOrder));
    EXPECT_FALSE(d.running());
    EXPECT_TRUE(d.finished());
    EXPECT_EQ(d.position(), 4);
    EXPECT_FALSE(d.next(drills::kTextbookOrder));  // nothing more after the end
}

TEST(WordDrill, RandomOrderDrawsFromAPoolThatShrinksByTheWordAsked) {
    ScriptedRandom r;
    r.script = {2, 2, 1};
    WordDrill d(r.source());
    d.start(kLesson, clips_for(3));
    EXPECT_EQ(whole_run(d, kRandomOrder), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(r.ranges, (std::vector<std::pair<int, int>>{{1, 3}, {1, 2}, {1, 1}}));
    // Textbook order draws nothing.
    d.start(kLesson, clips_for(3));
    whole_run(d, drills::kTextbookOrder);
    EXPECT_EQ(r.ranges.size(), 3u);
}

TEST(WordDrill, RandomOrderAsksEachWordOfEveryLessonExactlyOncePerRun) {
    WordDrill d;  // the clock-seeded source the program uses
    for (int lesson = 1; lesson <= volume::kLessons; ++lesson) {
        d.start(content::lesson_text(lesson), content::copy_clip_table(catalogue::drill_clips(lesson)));
        std::vector<int> asked = whole_run(d, kRandomOrder);
        std::sort(asked.begin(), asked.end());
        std::vector<int> every(static_cast<std::size_t>(d.word_count()));
        for (std::size_t i = 0; i < every.size(); ++i) every[i] = static_cast<int>(i) + 1;
        EXPECT_EQ(asked, every) << "lesson " << lesson;
    }
}

TEST(WordDrill, AnswersAreComparedByteForByteWithCaseAndSpaces) {
    WordDrill d;
    d.start(kLesson, clips_for(3));
    d.next(drills::kTextbookOrder);  // "desk"
    for (const char* wrong : {"Desk", "desk ", " desk", "", "des", "deskk"})
        EXPECT_EQ(d.check(wrong), WordDrill::Verdict::Wrong) << '"' << wrong << '"';
    EXPECT_EQ(d.check("desk"), WordDrill::Verdict::Right);
    d.next(drills::kTextbookOrder);  // "PE class"
    EXPECT_EQ(d.check("PE class"), WordDrill::Verdict::Right);
    EXPECT_EQ(d.check("pe class"), WordDrill::Verdict::Wrong);
    EXPECT_EQ(d.check("PE  class"), WordDrill::Verdict::Wrong);
    // Every wrong answer was recorded, the right ones not.
    EXPECT_EQ(d.records().count(), 8);
}

TEST(WordDrill, WrongAndSkippedWordsAreRecordedAsWordThenMeaning) {
    WordDrill d;
    d.start(kLesson, clips_for(3));
    d.next(drills::kTextbookOrder);
    EXPECT_EQ(d.check(""), WordDrill::Verdict::Wrong);  // an empty answer is wrong too
    d.next(drills::kTextbookOrder);
    EXPECT_TRUE(d.skip());
    d.next(drills::kTextbookOrder);
    EXPECT_EQ(d.check("window"), WordDrill::Verdict::Right);
    ASSERT_EQ(d.records().count(), 2);
    EXPECT_EQ(d.records().at(1), gbk("desk书桌\r\n"));
    EXPECT_EQ(d.records().at(2), gbk("PE class体育课\r\n"));
    EXPECT_EQ(d.record_text(), gbk("desk书桌\r\n\r\nPE class体育课\r\n\r\n"));
}

TEST(WordDrill, TheSummaryCountsWordsAndErrorsAndSaysWhenTheRunIsOver) {
    const Text unit1 = "Unit 1";
    WordDrill d;
    d.start(content::lesson_text(1), content::copy_clip_table(catalogue::drill_clips(1)));
    ASSERT_EQ(d.meaning_count(), 19);
    EXPECT_EQ(d.summary(unit1), gbk("Unit 1共19个单词。目前错误0个"));
    int n = 0;
    while (d.next(drills::kTextbookOrder)) {
        ++n;
        if (n == 2) d.skip();
        else d.check(n == 5 || n == 19 ? "not it" : d.current_word());
    }
    EXPECT_EQ(d.summary(unit1), gbk("Unit 1共19个单词。共错误3个"));
    // Words 2, 5 and 19: their English on line 2n-1, their meaning on line 2n.
    const std::vector<Text> lines = lines_of(content::lesson_text(1));
    auto record = [&](int word) { return lines[2 * word - 2] + lines[2 * word - 1] + "\r\n\r\n"; };
    EXPECT_EQ(d.record_text(), record(2) + record(5) + record(19));
    // A new start begins a fresh count.
    d.start(content::lesson_text(1), content::copy_clip_table(catalogue::drill_clips(1)));
    EXPECT_EQ(d.summary(unit1), gbk("Unit 1共19个单词。目前错误0个"));
    EXPECT_EQ(d.record_text(), Text());
}

TEST(WordDrill, ALessonWithNoWordsEndsAtTheFirstPresentation) {
    WordDrill d;
    d.start(Text(), List<Blob>());
    EXPECT_EQ(d.summary(Text()), gbk("共0个单词。目前错误0个"));
    EXPECT_FALSE(d.next(kRandomOrder));
    EXPECT_TRUE(d.finished());
    EXPECT_EQ(d.summary(Text()), gbk("共0个单词。共错误0个"));
    EXPECT_EQ(d.check("x"), WordDrill::Verdict::NoRun);
    EXPECT_FALSE(d.skip());
    EXPECT_EQ(d.records().count(), 0);
    EXPECT_EQ(d.current_clip(), Blob());
}

TEST(WordDrill, AResetEndsTheRunAndEmptiesTheRecordButKeepsTheWords) {
    WordDrill d;
    d.start(kLesson, clips_for(3));
    d.next(drills::kTextbookOrder);
    d.check("no");
    ASSERT_EQ(d.records().count(), 1);
    d.reset();
    EXPECT_FALSE(d.running());
    EXPECT_EQ(d.records().count(), 0);
    EXPECT_EQ(d.word_count(), 3);
    // Answers and skips after the reset are not judged or recorded, and no word follows.
    EXPECT_EQ(d.check("desk"), WordDrill::Verdict::NoRun);
    EXPECT_EQ(d.check("wrong"), WordDrill::Verdict::NoRun);
    EXPECT_FALSE(d.skip());
    EXPECT_FALSE(d.next(drills::kTextbookOrder));
    EXPECT_EQ(d.records().count(), 0);
    EXPECT_EQ(d.position(), 1);
    // The next start is a whole new run.
    d.start(kLesson, clips_for(3));
    EXPECT_EQ(whole_run(d, drills::kTextbookOrder), (std::vector<int>{1, 2, 3}));
}

TEST(WordDrill, NothingIsJudgedBeforeTheFirstStart) {
    WordDrill d;
    EXPECT_EQ(d.check(""), WordDrill::Verdict::NoRun);
    EXPECT_FALSE(d.skip());
    EXPECT_FALSE(d.next(drills::kTextbookOrder));
    EXPECT_EQ(d.current_number(), 0);
}

TEST(WordDrill, ALessonShortOfMeaningsOrClipsNeverReadsPastThem) {
    WordDrill d;
    d.start(gbk("desk\r\n书桌\r\nchair"), clips_for(1));
    EXPECT_EQ(d.word_count(), 2);
    EXPECT_EQ(d.meaning_count(), 1);
    ASSERT_TRUE(d.next(drills::kTextbookOrder));
    ASSERT_TRUE(d.next(drills::kTextbookOrder));
    EXPECT_EQ(d.current_word(), "chair");
    EXPECT_EQ(d.current_meaning(), Text());
    EXPECT_EQ(d.current_clip(), Blob());
    d.skip();
    EXPECT_EQ(d.records().at(1), "chair\r\n");
    EXPECT_FALSE(d.next(drills::kTextbookOrder));
}

TEST(WordDrill, RepeatingErrorsAsksExactlyTheMissedWordsAndSumsOnlyThem) {
    for (const int order : {drills::kTextbookOrder, kRandomOrder}) {
        ScriptedRandom random;
        WordDrill d(random.source());
        d.start(kLesson, clips_for(3));
        while (d.next(drills::kTextbookOrder)) {
            if (d.current_number() == 2) d.skip();
            else if (d.current_number() == 3) d.check(gbk("windows"));
            else d.check(d.current_word());
        }
        ASSERT_EQ(d.start_repeat(), 2);
        EXPECT_EQ(d.word_count(), 2);
        EXPECT_TRUE(d.records().empty());
        random.script = {2, 1};  // random order: the second left, then the only one left
        std::vector<Text> asked;
        std::vector<Blob> clips;
        while (d.next(order)) {
            asked.push_back(d.current_word());
            clips.push_back(d.current_clip());
            if (asked.size() == 1) d.check(gbk("pe class"));
            else d.check(d.current_word());
        }
        const std::vector<Text> expected = order == drills::kTextbookOrder ? std::vector<Text>{gbk("PE class"), gbk("window")}
                                                                   : std::vector<Text>{gbk("window"), gbk("PE class")};
        EXPECT_EQ(asked, expected) << "order " << order;
        EXPECT_EQ(clips[0], (Blob{static_cast<std::uint8_t>(order == drills::kTextbookOrder ? 2 : 3)})) << "order " << order;
        EXPECT_EQ(d.summary(gbk("Unit 1")), gbk("Unit 1共2个单词。共错误1个")) << "order " << order;
        // The run of the missed words missed one again: the next repeat asks only that one.
        ASSERT_EQ(d.start_repeat(), 1);
        ASSERT_TRUE(d.next(drills::kTextbookOrder));
        EXPECT_EQ(d.current_word(), expected[0]);
        EXPECT_EQ(d.current_meaning(), expected[0] == gbk("window") ? gbk("窗户；窗口") : gbk("体育课"));
    }
}

TEST(WordDrill, RepeatingErrorsStartsNothingWithoutMissesOrInTheMiddleOfARun) {
    WordDrill d;
    EXPECT_EQ(d.start_repeat(), 0);
    d.start(kLesson, clips_for(3));
    ASSERT_TRUE(d.next(drills::kTextbookOrder));
    d.skip();
    ASSERT_TRUE(d.next(drills::kTextbookOrder));
    EXPECT_EQ(d.start_repeat(), 0) << "in the middle of a run";
    EXPECT_EQ(d.position(), 2);
    d.check(d.current_word());
    ASSERT_TRUE(d.next(drills::kTextbookOrder));
    d.check(d.current_word());
    EXPECT_FALSE(d.next(drills::kTextbookOrder));
    ASSERT_EQ(d.start_repeat(), 1);
    while (d.next(drills::kTextbookOrder)) d.check(d.current_word());
    EXPECT_EQ(d.start_repeat(), 0) << "nothing missed in the last run";
    EXPECT_FALSE(d.running());
    // A change of lesson or order empties the record: nothing is left to repeat.
    d.start(kLesson, clips_for(3));
    while (d.next(drills::kTextbookOrder)) d.skip();
    d.reset();
    EXPECT_EQ(d.start_repeat(), 0);
}

// The session's mistakes box: what goes in, what it carries, and when an entry leaves.
#include <gtest/gtest.h>

#include "content/mistakes.hpp"
#include "support/log_capture.hpp"

using namespace tb;
using tb::content::MistakeOrigin;
using tb::content::MistakesBox;

namespace {

const Text kDesk = gbk("desk");

}  // namespace

TEST(MistakesBox, AMissIsKeptOnceWithItsOriginPlaceAndMeaning) {
    MistakesBox box;
    const int run = box.new_run();
    box.missed(MistakeOrigin::WordDrill, 1, kDesk, gbk("书桌"), run);
    box.missed(MistakeOrigin::WordDrill, 1, kDesk, gbk("书桌"), run);
    ASSERT_EQ(box.count(), 1);
    EXPECT_EQ(box.entries()[0].origin, MistakeOrigin::WordDrill);
    EXPECT_EQ(box.entries()[0].place, 1);
    EXPECT_EQ(box.entries()[0].text, kDesk);
    EXPECT_EQ(box.entries()[0].detail, gbk("书桌"));
    // The same text from elsewhere is a mistake of its own.
    box.missed(MistakeOrigin::WordDrill, 2, kDesk, gbk("书桌"), run);
    box.missed(MistakeOrigin::Find, 1, kDesk, Text(), run);
    EXPECT_EQ(box.count(), 3);
    EXPECT_TRUE(box.holds(MistakeOrigin::Find, 1, kDesk));
    EXPECT_FALSE(box.holds(MistakeOrigin::Practice, 1, kDesk));
}

TEST(MistakesBox, AnEntryLeavesAfterRightAnswersInTwoLaterRuns) {
    MistakesBox box;
    const int missed_in = box.new_run();
    box.missed(MistakeOrigin::WordDrill, 1, kDesk, Text(), missed_in);
    // Right later in the run that missed it does not count.
    box.answered_right(MistakeOrigin::WordDrill, 1, kDesk, missed_in);
    const int second = box.new_run();
    box.answered_right(MistakeOrigin::WordDrill, 1, kDesk, second);
    // Twice right in one run counts once.
    box.answered_right(MistakeOrigin::WordDrill, 1, kDesk, second);
    EXPECT_TRUE(box.holds(MistakeOrigin::WordDrill, 1, kDesk));
    box.answered_right(MistakeOrigin::WordDrill, 1, kDesk, box.new_run());
    EXPECT_FALSE(box.holds(MistakeOrigin::WordDrill, 1, kDesk));
    EXPECT_EQ(box.count(), 0);
}

TEST(MistakesBox, AMissAgainForgetsTheRightAnswersSoFar) {
    MistakesBox box;
    box.missed(MistakeOrigin::FillIn, 3, kDesk, Text(), box.new_run());
    box.answered_right(MistakeOrigin::FillIn, 3, kDesk, box.new_run());
    box.missed(MistakeOrigin::FillIn, 3, kDesk, Text(), box.new_run());
    box.answered_right(MistakeOrigin::FillIn, 3, kDesk, box.new_run());
    EXPECT_TRUE(box.holds(MistakeOrigin::FillIn, 3, kDesk));
    box.answered_right(MistakeOrigin::FillIn, 3, kDesk, box.new_run());
    EXPECT_FALSE(box.holds(MistakeOrigin::FillIn, 3, kDesk));
    // A right answer for something never missed leaves the box as it is.
    box.answered_right(MistakeOrigin::Ordering, 3, kDesk, box.new_run());
    EXPECT_EQ(box.count(), 0);
}

TEST(MistakesBox, TheLogCountsTheBoxAsItChanges) {
    test::LogCapture log;
    MistakesBox box;
    box.missed(MistakeOrigin::Practice, 0, kDesk, Text(), box.new_run());
    box.missed(MistakeOrigin::Practice, 0, kDesk, Text(), box.new_run());  // no change in count
    box.missed(MistakeOrigin::Ordering, 0, kDesk, Text(), box.new_run());
    box.answered_right(MistakeOrigin::Practice, 0, kDesk, box.new_run());
    box.answered_right(MistakeOrigin::Practice, 0, kDesk, box.new_run());
    EXPECT_EQ(log.starting("events mistakes"),
              (std::vector<std::string>{"events mistakes 1", "events mistakes 2", "events mistakes 1"}));
}

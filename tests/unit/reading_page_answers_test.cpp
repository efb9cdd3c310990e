// How the boxes printed on exercise pages judge what the pupil put in, one row a case: a fill-in
// box against its answer (as typed so far), a tick box against its expected state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reading/page_exercises.hpp"

using namespace tb;
using tb::reading::BoxAnswer;
using tb::reading::judge_box;
using tb::reading::judge_tick;
using tb::reading::TickAnswer;

TEST(PageAnswers, AFillInBoxIsJudgedOnceAsLongAsItsAnswer) {
    struct Row {
        const char* what;
        std::string typed, answer;
        BoxAnswer expected;
    };
    const std::vector<Row> rows = {
        {"the same letters", "cat", "cat", BoxAnswer::Right},
        {"case counts", "Cat", "cat", BoxAnswer::Wrong},
        {"a space in place of a letter", "ca ", "cat", BoxAnswer::Wrong},
        {"blank", "", "cat", BoxAnswer::Typing},
        {"still being typed", "ca", "cat", BoxAnswer::Typing},
        {"a letter too many", "cats", "cat", BoxAnswer::TooLong},
        {"a trailing space is one too many", "cat ", "cat", BoxAnswer::TooLong},
        {"a leading space too", " cat", "cat", BoxAnswer::TooLong},
        {"spaces inside an answer count", "a  b", "a b", BoxAnswer::TooLong},
        {"an answer of two words", "a b", "a b", BoxAnswer::Right},
        {"Chinese, whole", gbk("苹果"), gbk("苹果"), BoxAnswer::Right},
        {"Chinese, half typed", gbk("苹"), gbk("苹果"), BoxAnswer::Typing},
        {"Chinese, another word", gbk("香蕉"), gbk("苹果"), BoxAnswer::Wrong},
        {"an empty answer takes the empty box", "", "", BoxAnswer::Right},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(judge_box(r.typed, r.answer), r.expected);
    }
}

TEST(PageAnswers, ATickBoxIsJudgedOnlyTickedOrNot) {
    struct Row {
        int state, expected;
        TickAnswer verdict;
    };
    const std::vector<Row> rows = {
        {1, 1, TickAnswer::Right},    {0, 0, TickAnswer::Right},    {1, 0, TickAnswer::Wrong},
        {0, 1, TickAnswer::Wrong},    {2, 1, TickAnswer::Unjudged}, {2, 2, TickAnswer::Unjudged},
        {-1, 0, TickAnswer::Unjudged},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.state << " against " << r.expected);
        EXPECT_EQ(judge_tick(r.state, r.expected), r.verdict);
    }
}

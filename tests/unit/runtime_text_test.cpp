#include <gtest/gtest.h>

#include "runtime/list.hpp"
#include "runtime/random.hpp"
#include "runtime/text.hpp"
#include "support/fakes.hpp"

using namespace tb;

namespace {
std::vector<Text> V(std::initializer_list<const char*> items) { return {items.begin(), items.end()}; }
}  // namespace

TEST(TextSplit, SeparatorsEndPiecesAndTrailingOneAddsNothing) {
    EXPECT_EQ(split("a b c", " "), V({"a", "b", "c"}));
    EXPECT_EQ(split("a  b", " "), V({"a", "", "b"}));
    EXPECT_EQ(split("a b ", " "), V({"a", "b"}));
    EXPECT_EQ(split(" a", " "), V({"", "a"}));
    EXPECT_TRUE(split("", " ").empty());
    EXPECT_EQ(split("one\r\ntwo\r\n\r\nfour", "\r\n"), V({"one", "two", "", "four"}));
}

TEST(TextSplit, NeverCutsADoubleByteCharacter) {
    // "、" is A1 A2 in GBK; a separator "\xA2\xA1" must not match across its trail byte and the
    // next character's lead byte.
    Text t = "\xA1\xA2\xA1\xA1";  // 、 then full-width space
    EXPECT_EQ(split(t, "\xA2\xA1"), std::vector<Text>{t});
    EXPECT_EQ(split(gbk("苹果，香蕉"), gbk("，")), std::vector<Text>({gbk("苹果"), gbk("香蕉")}));
}

TEST(TextFind, PositionsAreOneBasedBytes) {
    EXPECT_EQ(find("I like beef", "like"), 3);
    EXPECT_EQ(find("I like beef", "e", 6), 6);
    EXPECT_EQ(find("I like beef", "e", 7), 9);
    EXPECT_EQ(find("I like beef", "pork"), -1);
    EXPECT_EQ(find("abc", ""), 1);
    EXPECT_EQ(find("", ""), -1);
    EXPECT_EQ(find("", "a"), -1);
}

TEST(TextFind, IgnoresCaseOfAsciiOnly) {
    EXPECT_EQ(find("I LIKE beef", "like", 1, true), 3);
    EXPECT_EQ(find("I LIKE beef", "like", 1, false), -1);
    // Bytes above 0x7F are never folded.
    EXPECT_EQ(find(gbk("你好"), gbk("你好"), 1, true), 1);
}

TEST(TextFind, NoMatchStartsOnATrailByte) {
    // "狗" is B9 B7; searching for B7 alone must not find the trail byte.
    Text dog = gbk("狗");
    ASSERT_EQ(dog.size(), 2u);
    EXPECT_EQ(find(dog, dog.substr(1)), -1);
    EXPECT_EQ(find(gbk("小狗dog"), "dog"), 5);
}

TEST(TextCompare, CaseAndOrder) {
    EXPECT_EQ(compare("beef", "beef"), 0);
    EXPECT_NE(compare("Beef", "beef"), 0);
    EXPECT_EQ(compare("Beef", "beef", false), 0);
    EXPECT_LT(compare("bee", "beef"), 0);
    EXPECT_GT(compare("beef ", "beef"), 0);
}

TEST(TextTrim, AsciiAndFullWidthSpaces) {
    EXPECT_EQ(trim("  I like beef.  "), "I like beef.");
    EXPECT_EQ(trim("\xA1\xA1 cat \xA1\xA1"), "cat");
    EXPECT_EQ(trim("   "), "");
    EXPECT_EQ(trim(""), "");
    // A trail byte A1 followed by a lead A1 is not a full-width space: "、" (A1 A2) stays.
    EXPECT_EQ(trim("\xA1\xA2"), "\xA1\xA2");
    EXPECT_EQ(trim("x\t"), "x\t");
}

TEST(TextConvert, RoundTripsChineseAndReplacesWhatGbkCannotHold) {
    EXPECT_EQ(utf8(gbk("已经第一页了！")), "已经第一页了！");
    EXPECT_EQ(length(gbk("已经第一页了！")), 14);
    // An emoji typed by a pupil is never a crash: it becomes "?".
    EXPECT_EQ(gbk("a\xF0\x9F\x98\x80" "b"), "a?b");
    // A lone lead byte at the end reads back as a replacement character, not a crash.
    EXPECT_EQ(utf8("ab\x81"), "ab\xEF\xBF\xBD");
}

TEST(TextNumber, DecimalConversionOfTags) {
    EXPECT_EQ(text_number(""), 0);
    EXPECT_EQ(text_number("90"), 90);
    EXPECT_EQ(text_number("  -12x"), -12);
    EXPECT_EQ(text_number("abc"), 0);
    EXPECT_EQ(number_text(-7), "-7");
}

TEST(ProgramList, IsOneBasedAndChecksItsIndex) {
    List<Text> list;
    EXPECT_EQ(list.count(), 0);
    list.append("a");
    list.append("b");
    EXPECT_EQ(list.at(1), "a");
    EXPECT_EQ(list.at(2), "b");
    EXPECT_THROW(list.at(3), RuntimeErrorRaised);
    EXPECT_THROW(list.at(0), RuntimeErrorRaised);
    list.remove(1);
    EXPECT_EQ(list.at(1), "b");
    list.clear();
    EXPECT_EQ(list.count(), 0);
}

TEST(RuntimeErrorText, HasTheFixedLinesAndBreaks) {
    Text t = runtime_error_text(1, gbk("数组成员访问越界"));
    EXPECT_EQ(utf8(t), "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员访问越界\r\n");
    EXPECT_EQ(utf8(runtime_error_text(0, gbk("x"))), "运行时出错!\r\n\r\n错误信息：x\r\n");
}

TEST(Random, StaysInTheClosedRangeAndReseedsDifferentlyWithinOneTick) {
    // The fake clock stands still: two seedings in the same tick must still give new sequences.
    std::vector<int> first, second;
    seed_random();
    for (int i = 0; i < 20; ++i) first.push_back(random_int(1, 1000));
    seed_random();
    for (int i = 0; i < 20; ++i) second.push_back(random_int(1, 1000));
    EXPECT_NE(first, second);
    bool saw_low = false, saw_high = false;
    for (int i = 0; i < 2000; ++i) {
        int r = random_int(1, 3);
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 3);
        saw_low |= r == 1;
        saw_high |= r == 3;
    }
    EXPECT_TRUE(saw_low && saw_high);
    EXPECT_EQ(random_int(5, 5), 5);
}

TEST(Seams, SleepUsesFakeTimeAndBoxesAreScripted) {
    auto before = tick_ms();
    sleep_ms(4000);
    EXPECT_EQ(tick_ms() - before, 4000u);
    test::boxes().answers.push_back(kMsgNo);
    EXPECT_EQ(message_box(gbk("q"), gbk("c"), MsgButtons::YesNo), kMsgNo);
    EXPECT_EQ(message_box(gbk("q")), kMsgOk);
    ASSERT_EQ(test::boxes().shown.size(), 2u);
    EXPECT_EQ(utf8(test::boxes().shown[1].caption), "信息：");
}

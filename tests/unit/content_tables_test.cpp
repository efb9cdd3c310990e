// The lesson content tables as the program carries them: page and lesson texts, their clip
// tables, the page splitter, the exercises' answers and the word list's clips.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "content/catalogue.hpp"
#include "content/tables.hpp"
#include "content/volume.hpp"
#include "runtime/embedded.hpp"
#include "runtime/list.hpp"
#include "runtime/text.hpp"
#include "support/tool_run.hpp"

using namespace tb;
using namespace tb::content;
using tb::test::read_file;

namespace {

std::string asset(const std::string& name) { return read_file(std::string(TAPBOOK_BINARY_DIR) + "/assets/" + name); }

std::string two(int k) { return (k < 10 ? "0" : "") + std::to_string(k); }

}  // namespace

TEST(ContentTables, PageOneSplitsIntoItemsWithItsMarkerStillClipped) {
    List<Text> sentences, translations;
    sentences.append("stale");
    split_page_text(page_text(1), sentences, translations);
    ASSERT_EQ(sentences.count(), 35);
    ASSERT_EQ(translations.count(), 35);
    EXPECT_EQ(sentences.at(3), "$");
    EXPECT_EQ(translations.at(3), "$");
    EXPECT_NE(sentences.at(2), "$");
    const auto clips = catalogue::page_clips(1);
    ASSERT_EQ(clips.size(), 35u);
    EXPECT_FALSE(clips[2].empty());
}

TEST(ContentTables, ExtraClipPagesCarryOneClipMoreThanItems) {
    List<Text> sentences, translations;
    split_page_text(page_text(6), sentences, translations);
    EXPECT_EQ(sentences.count(), 28);
    EXPECT_EQ(translations.count(), 28);
    EXPECT_EQ(catalogue::page_clips(6).size(), 29u);

    split_page_text(page_text(33), sentences, translations);
    EXPECT_EQ(sentences.count(), 8);
    EXPECT_EQ(translations.count(), 8);
    const auto clips = catalogue::page_clips(33);
    ASSERT_EQ(clips.size(), 9u);
    const List<Blob> copy = copy_clip_table(clips);
    ASSERT_EQ(copy.count(), 9);
    for (int n = 1; n <= 9; ++n) {
        EXPECT_TRUE(std::equal(copy.at(n).begin(), copy.at(n).end(), clips[n - 1].begin(), clips[n - 1].end()));
        EXPECT_NE(copy.at(n).data(), clips[n - 1].data());  // a copy the list owns
    }
}

TEST(ContentTables, EveryPageHasAsManyLinePairsAsClipsSaveTheExtras) {
    for (int k = 0; k < volume::kContentPages; ++k) {
        List<Text> s, t;
        split_page_text(page_text(k), s, t);
        ASSERT_GT(s.count(), 0) << k;
        EXPECT_EQ(s.count(), t.count()) << k;
        EXPECT_EQ(s.count(), volume::kPageItems[k]) << k;
        EXPECT_EQ(static_cast<int>(catalogue::page_clips(k).size()), volume::page_clip_count(k)) << k;
        // A marker is "$" on both lines, never on one alone.
        for (int n = 1; n <= s.count(); ++n) EXPECT_EQ(s.at(n) == "$", t.at(n) == "$") << k << " item " << n;
    }
}

TEST(ContentTables, OutsideTheTablesIsEmptyNeverACrash) {
    for (int k : {-1, 34, 36, 1000}) {
        EXPECT_TRUE(page_text(k).empty()) << k;
        EXPECT_TRUE(catalogue::page_clips(k).empty()) << k;
    }
    for (int l : {0, 7, -3}) {
        EXPECT_TRUE(lesson_text(l).empty()) << l;
        EXPECT_TRUE(catalogue::drill_clips(l).empty()) << l;
    }
    for (int h : {-1, 0, 185, 141, 166, 2}) EXPECT_TRUE(catalogue::word_list_clip(h).empty()) << h;
    EXPECT_FALSE(fill_in_answer(6, 5));
    EXPECT_FALSE(fill_in_answer(7, 1));
    EXPECT_FALSE(tick_expected(64, 4));
    EXPECT_FALSE(tick_expected(-4, 1));
    List<Text> s, t;
    s.append("x");
    t.append("y");
    split_page_text(Text(), s, t);
    EXPECT_TRUE(s.empty());
    EXPECT_TRUE(t.empty());
    EXPECT_TRUE(copy_clip_table({}).empty());
}

TEST(ContentSplit, LinesKeepTheirSpacesAndPairsStayInOrder) {
    List<Text> s, t;
    split_page_text("  Hello there.  \r\n" + gbk("你好。") + " \r\nBye\r\n" + gbk("再见"), s, t);
    ASSERT_EQ(s.count(), 2);
    ASSERT_EQ(t.count(), 2);
    EXPECT_EQ(s.at(1), "  Hello there.  ");
    EXPECT_EQ(t.at(1), gbk("你好。") + " ");
    EXPECT_EQ(s.at(2), "Bye");
    EXPECT_EQ(t.at(2), gbk("再见"));
}

TEST(ContentSplit, NeverCutsADoubleByteCharacter) {
    List<Text> s, t;
    // Characters whose trail bytes are the lowest and highest GBK allows, right at the line ends.
    split_page_text("A\x81\x40\r\n\xFE\xFE\r\n\x81\x40", s, t);
    ASSERT_EQ(s.count(), 2);
    EXPECT_EQ(s.at(1), "A\x81\x40");
    EXPECT_EQ(t.at(1), "\xFE\xFE");
    EXPECT_EQ(s.at(2), "\x81\x40");
    // A lead byte takes the next byte with it: a CR right behind one is part of that character,
    // so the CR LF there is no line end and the line stays whole.
    split_page_text("Hi\x81\r\nthere\r\n" + gbk("你"), s, t);
    ASSERT_EQ(s.count(), 1);
    EXPECT_EQ(s.at(1), "Hi\x81\r\nthere");
    EXPECT_EQ(t.at(1), gbk("你"));
}

TEST(ContentTables, TextsAreGbkWithShortLines) {
    auto check = [](const Text& text, const std::string& what) {
        ASSERT_FALSE(text.empty()) << what;
        EXPECT_EQ(text.find("\r\n\r\n"), Text::npos) << what << ": an empty line";
        EXPECT_NE(text.substr(text.size() - 2), "\r\n") << what;
        // GBK round-trips exactly: no byte sequence outside GBK, no half characters.
        EXPECT_EQ(gbk(utf8(text)), text) << what;
        EXPECT_EQ(utf8(text).find("\xEF\xBF\xBD"), std::string::npos) << what;
        const auto lines = split(text, "\r\n");
        EXPECT_EQ(lines.size() % 2, 0u) << what;
        for (const Text& line : lines) {
            EXPECT_LE(line.size(), 84u) << what << ": " << utf8(line);
            EXPECT_TRUE(starts_character(line, line.size())) << what;
        }
    };
    for (int k = 0; k < volume::kContentPages; ++k) check(page_text(k), "page " + std::to_string(k));
    for (int l = 1; l <= volume::kLessons; ++l) check(lesson_text(l), "lesson " + std::to_string(l));
    EXPECT_EQ(gbk(utf8(edition_text())), edition_text());
    EXPECT_NE(utf8(edition_text()).find("Tapbook"), std::string::npos);
}

TEST(ContentTables, BakedTextFilesAreWhatTheProgramCarries) {
    for (int k = 0; k < volume::kContentPages; ++k) EXPECT_EQ(asset("texts/page" + two(k) + ".txt"), page_text(k)) << k;
    for (int l = 1; l <= volume::kLessons; ++l) EXPECT_EQ(asset("texts/drill" + std::to_string(l) + ".txt"), lesson_text(l)) << l;
    const auto carried = embedded_blob("texts");
    EXPECT_EQ(asset("texts.pack"), std::string(carried.begin(), carried.end()));
    EXPECT_TRUE(text_pack().valid());
}

TEST(ContentTables, LessonTablesMatchTheirWords) {
    for (int l = 1; l <= volume::kLessons; ++l) {
        const int words = volume::kLessonWords[l - 1];
        List<Text> english, chinese;
        split_page_text(lesson_text(l), english, chinese);
        EXPECT_EQ(english.count(), words) << l;
        EXPECT_EQ(chinese.count(), words) << l;
        const auto clips = catalogue::drill_clips(l);
        EXPECT_EQ(clips.size(), static_cast<std::size_t>(words)) << l;
        for (const auto& c : clips) EXPECT_FALSE(c.empty()) << l;
        for (const Text& w : english) EXPECT_EQ(trim(w), w) << l;
    }
}

TEST(ContentTables, WordListCellsPlayTheVerySameClipAsTheirDrillWord) {
    // The printed word list: a heading, then each unit's header followed by its words.
    struct Run {
        int lesson, first_cell, words;
    };
    const Run runs[] = {{1, 3, 19}, {2, 23, 28}, {3, 52, 16}, {4, 69, 28}, {5, 98, 25}, {6, 125, 14}};
    int with_clip = catalogue::word_list_clip(1).empty() ? 0 : 1;
    EXPECT_EQ(with_clip, 1);  // the heading's own clip
    for (const Run& r : runs) {
        const auto drill = catalogue::drill_clips(r.lesson);
        ASSERT_EQ(drill.size(), static_cast<std::size_t>(r.words));
        EXPECT_TRUE(catalogue::word_list_clip(r.first_cell - 1).empty()) << "unit header " << r.lesson;
        for (int w = 0; w < r.words; ++w) {
            const Clip c = catalogue::word_list_clip(r.first_cell + w);
            EXPECT_EQ(c.data(), drill[static_cast<std::size_t>(w)].data()) << "cell " << r.first_cell + w;
            EXPECT_EQ(c.size(), drill[static_cast<std::size_t>(w)].size());
        }
    }
    for (int h = 1; h <= 184; ++h) with_clip += catalogue::word_list_clip(h).empty() ? 0 : 1;
    EXPECT_EQ(with_clip, 1 + 131);
    for (int l = 1; l <= volume::kLessons; ++l)
        for (const auto& c : catalogue::drill_clips(l)) EXPECT_NE(c.data(), catalogue::word_list_clip(1).data());
}

TEST(ContentTables, ExerciseAnswersCoverEveryBox) {
    int count = 0;
    for (auto [page, boxes] : volume::kFillBoxes) {
        for (int b = 1; b <= boxes; ++b) {
            const auto a = fill_in_answer(page, b);
            ASSERT_TRUE(a) << page << "/" << b;
            ASSERT_FALSE(a->empty());
            EXPECT_EQ(trim(*a), *a);
            EXPECT_EQ(a->find(' '), Text::npos);
            ++count;
        }
        EXPECT_FALSE(fill_in_answer(page, boxes + 1)) << page;
    }
    EXPECT_EQ(count, 38);
    for (int b = 1; b <= 4; ++b) {  // "number the pictures": the digits 1 to 4
        const auto a = fill_in_answer(18, b);
        ASSERT_TRUE(a);
        ASSERT_EQ(a->size(), 1u);
        EXPECT_TRUE((*a)[0] >= '1' && (*a)[0] <= '4');
    }
    for (const auto& t : volume::kTickBoxes)
        EXPECT_EQ(tick_expected(t.printed_page, t.box), std::optional<int>(t.ticked ? 1 : 0)) << t.printed_page << "/" << t.box;
}

TEST(ContentTables, ABrokenPackGivesNoEntriesNeverBytesOutsideIt) {
    const auto whole = embedded_blob("texts");
    ASSERT_GT(whole.size(), 100u);
    for (std::size_t cut : {std::size_t{0}, std::size_t{3}, std::size_t{11}, std::size_t{12}, std::size_t{40},
                            whole.size() / 2, whole.size() - 1}) {
        const TextPack pack(whole.first(cut));
        EXPECT_FALSE(pack.valid()) << cut;
        EXPECT_EQ(pack.find("page00"), nullptr) << cut;
    }
    std::vector<std::uint8_t> huge(whole.begin(), whole.end());
    huge[12] = 0xFF;  // the first name's length, far beyond the pack
    huge[13] = 0xFF;
    huge[14] = 0xFF;
    huge[15] = 0xFF;
    EXPECT_FALSE(TextPack(huge).valid());
    const TextPack full(whole);
    ASSERT_TRUE(full.valid());
    ASSERT_NE(full.find("page00"), nullptr);
    EXPECT_EQ(*full.find("page00"), page_text(0));
}

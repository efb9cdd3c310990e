// The content bake's checker: the volume passes, and a copy with one rule broken fails the bake
// with a message naming the file and the page.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

#include "support/tool_run.hpp"

namespace fs = std::filesystem;
using tb::test::read_file;

namespace {

using CheckRun = tb::test::ToolRun;

// Runs contentbake with the given arguments (each quoted), its stderr taken with its stdout.
CheckRun run_contentbake(const std::vector<std::string>& args) {
    std::string cmd = std::string("'") + TAPBOOK_BINARY_DIR + "/contentbake'";
    for (const std::string& a : args) cmd += " '" + a + "'";
    return tb::test::run_tool(cmd);
}

CheckRun run_check(const fs::path& book) { return run_contentbake({"check", book.string()}); }

void write_file(const fs::path& p, const std::string& s) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << s;
}

void replace_once(const fs::path& p, const std::string& from, const std::string& to) {
    std::string s = read_file(p);
    const auto at = s.find(from);
    ASSERT_NE(at, std::string::npos) << from << " in " << p;
    s.replace(at, from.size(), to);
    write_file(p, s);
}

fs::path page_in(const fs::path& book, const char* nn) { return book / "pages" / (std::string(nn) + ".txt"); }

class BrokenBook : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tapbook-book-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::copy(fs::path(TAPBOOK_SOURCE_DIR) / "book", dir_, fs::copy_options::recursive);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path page(const char* nn) const { return page_in(dir_, nn); }
    fs::path dir_;
};

}  // namespace

TEST(ContentBake, TheVolumePassesItsChecks) {
    const CheckRun r = run_check(fs::path(TAPBOOK_SOURCE_DIR) / "book");
    EXPECT_EQ(r.exit_code, 0) << r.output;
    EXPECT_EQ(r.output, "");
}

TEST_F(BrokenBook, AMissingMarkerIsRejectedNamingPageAndItem) {
    replace_once(page("01"), "marker | Ring, ring!", "line | Ring, ring!");
    const CheckRun r = run_check(dir_);
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.output.find("01.txt:"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("page 01 (printed pages 4-5), item 3"), std::string::npos) << r.output;
}

// One broken rule each: the check fails naming what is wrong. Each is a test of its own, so that
// the check's runs spread over the cores.
struct BrokenRule {
    const char* name;
    void (*brk)(const fs::path& dir);
    const char* expect;
};

const BrokenRule kBrokenRules[] = {
    {"item count", [](const fs::path& dir) { write_file(page_in(dir, "05"), read_file(page_in(dir, "05")) + "line | One more line here. | 再多一行。\n"); },
     "page 05 (printed pages 12-13): 16 items"},
    {"not GBK", [](const fs::path& dir) { replace_once(page_in(dir, "00"), "同学们，早上好。", "同学们，早上好\xF0\x9F\x98\x80"); }, "GBK cannot hold"},
    {"non-ASCII English", [](const fs::path& dir) { replace_once(page_in(dir, "00"), "Good morning, class.", "Good morning, class\xE2\x80\xA6"); },
     "plain ASCII"},
    {"too long", [](const fs::path& dir) { replace_once(page_in(dir, "00"), "Good morning, class.", "Good morning, class." + std::string(70, 'a')); },
     "bytes in GBK"},
    {"double space", [](const fs::path& dir) { replace_once(page_in(dir, "00"), "Good morning, class.", "Good  morning, class."); }, "double space"},
    {"trailing space", [](const fs::path& dir) { replace_once(page_in(dir, "00"), "Good morning, class. |", "Good morning, class.  |"); },
     "trailing spaces"},
    {"item 1 kind", [](const fs::path& dir) { replace_once(page_in(dir, "01"), "heading | Let's talk", "line | Let's talk | 我们来说一说"); },
     "item 1 must be a heading"},
    {"heading with its own Chinese", [](const fs::path& dir) { replace_once(page_in(dir, "01"), "heading | Let's talk", "heading | Let's talk | 一起聊聊"); },
     "its Chinese comes from headings.txt"},
    {"heading not in the table", [](const fs::path& dir) { replace_once(page_in(dir, "01"), "heading | Let's talk", "heading | Let us talk"); },
     "01.txt:2: the heading \"Let us talk\" is not in headings.txt"},
    {"heading Chinese twice", [](const fs::path& dir) { replace_once(dir / "headings.txt", "Show me | 给我看一看", "Show me | 新单词"); },
     "heading \"New words\": its Chinese is already \"Show me\"'s"},
    {"counting with commas", [](const fs::path& dir) { replace_once(page_in(dir, "01"), "上学去，一、二、三！", "上学去，一，二，三！"); },
     "item 33 (Chinese): counting takes the enumeration comma"},
    {"extra elsewhere", [](const fs::path& dir) { write_file(page_in(dir, "05"), read_file(page_in(dir, "05")) + "extra | One more clip.\n"); },
     "only pages 06 and 33"},
    {"tick state", [](const fs::path& dir) { replace_once(page_in(dir, "01"), "her pencil. | 0", "her pencil. | 1"); },
     "tick box 3: must be left empty"},
    {"fill gap", [](const fs::path& dir) { replace_once(page_in(dir, "06"), "yellow ___.", "yellow dress."); }, "needs \"___\""},
    {"fill answer", [](const fs::path& dir) { replace_once(page_in(dir, "06"), "| dress |", "| giraffe |"); },
     "the answer \"giraffe\" is not a word of the volume's pages"},
    {"fill answer not in the unit's list", [](const fs::path& dir) { replace_once(page_in(dir, "06"), "| dress |", "| sweater |"); },
     "fill-in box 1: the answer \"sweater\" is not a word of lesson 2's word list"},
    {"gap with two answers", [](const fs::path& dir) { replace_once(page_in(dir, "24"), "Kai can wear his T-shirt under his ___.", "Put on your ___. It's cold."); },
     "fill-in box 1: the gap also takes \"hat\" (from the word list's \"hat\"): the volume prints \"Put on your hat\""},
    {"meaning twice", [](const fs::path& dir) { replace_once(dir / "words" / "unit5.txt", "hat | 帽子", "hat | 鸭舌帽"); },
     "lesson 5, word 17 \"hat\": the meaning \"鸭舌帽\" is already lesson 2, word 12's"},
    {"fill missing", [](const fs::path& dir) { replace_once(page_in(dir, "06"), "fill | 1 |", "# fill | 1 |"); }, "fill-in box 1 of printed page 14 is missing"},
    {"drill word", [](const fs::path& dir) { replace_once(dir / "words" / "unit1.txt", "desk | ", "giraffe | "); },
     "lesson 1, word 2 \"giraffe\": not found"},
    {"word count", [](const fs::path& dir) { replace_once(dir / "words" / "unit1.txt", "stand up | 起立\n", ""); }, "18 words"},
    {"a word entry is no sentence to order", [](const fs::path& dir) { replace_once(page_in(dir, "16"), "line | Is it Lily?", "word | Is it Lily?"); },
     "page 16 (printed pages 34-35): only 6 lines of 2 to 9 words, the ordering game needs at least 7"},
    {"a line of ten words is no sentence to order",
     [](const fs::path& dir) { replace_once(page_in(dir, "16"), "line | Yes, it is! |", "line | Yes, it is! She is my friend and she likes drawing. |"); },
     "page 16 (printed pages 34-35): only 6 lines of 2 to 9 words"},
    {"one gap sentence, two answers",
     [](const fs::path& dir) { replace_once(page_in(dir, "19"), "Tao Tao doesn't like ___, but he eats a little.", "Tao Tao doesn't like ___, but Rosa does."); },
     "page 19 (printed pages 40-41), fill-in box 2: \"Tao Tao doesn't like ___, but Rosa does.\" takes \"vegetables\" here "
     "but \"singing\" at page 07 (printed pages 16-17), fill-in box 4 (07.txt:"},
};

class BrokenBookRule : public BrokenBook, public testing::WithParamInterface<BrokenRule> {};

TEST_P(BrokenBookRule, FailsTheCheck) {
    GetParam().brk(dir_);
    const CheckRun r = run_check(dir_);
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.output.find(GetParam().expect), std::string::npos) << r.output;
}

INSTANTIATE_TEST_SUITE_P(EachRule, BrokenBookRule, testing::ValuesIn(kBrokenRules),
                         [](const testing::TestParamInfo<BrokenRule>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });


TEST_F(BrokenBook, AGapSentenceMayRecurWithItsOwnAnswer) {
    replace_once(page("29"), "Nineteen, ___, sheep on the hill. | twenty", "There are ___ sheep on the farm. | twenty");
    const CheckRun r = run_check(dir_);
    EXPECT_EQ(r.exit_code, 0) << r.output;
}

TEST_F(BrokenBook, ABoxOfTheWindowWithoutAnAnswerFailsTheBakeNamingIt) {
    // The main window's units as the layout writes them: printed page 6 has fill-in boxes 1 to 4
    // and printed page 4 tick boxes 1 to 3 in the book.
    const fs::path units = dir_ / "main_pages.json";
    const fs::path assets = dir_ / "assets";
    auto with_boxes = [&](const std::string& extra) {
        write_file(units, "{\n    \"units\": [\n        {\n            \"name\": \"编辑框6_1\"\n        },\n"
                          "        {\n            \"name\": \"选择框打钩4_3\"\n        }" + extra + "\n    ]\n}\n");
    };
    with_boxes("");
    CheckRun r = run_contentbake({"bake", dir_.string(), assets.string(), units.string()});
    ASSERT_EQ(r.exit_code, 0) << r.output;
    EXPECT_TRUE(fs::exists(assets / "texts.pack"));

    fs::remove_all(assets);
    with_boxes(",\n        {\"name\": \"编辑框6_5\"},\n        {\"name\": \"选择框打钩4_4\"}");
    r = run_contentbake({"bake", dir_.string(), assets.string(), units.string()});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.output.find("编辑框6_5: the main window has this box, but the book gives it no answer"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("选择框打钩4_4:"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("编辑框6_1:"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(assets / "texts.pack")) << "nothing the program would carry";
}

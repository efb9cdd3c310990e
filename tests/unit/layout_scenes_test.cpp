// The story pictures the page bake draws from the scene lines of book/pages: every picture is
// written out on its own, the bake repeats itself byte for byte, and a scene the bake cannot
// draw faithfully (an unknown person or thing, a bad line, too full a frame, a story picture
// without a scene) fails the bake naming the page.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/tool_run.hpp"

namespace fs = std::filesystem;
using tb::test::read_file;

// A build that takes its pictures prebaked has no bake, and these tests skip.
#ifndef TAPBOOK_ART_ICONS
#define TAPBOOK_ART_ICONS ""
#define TAPBOOK_ART_OWN_ICONS ""
#endif

namespace {

const fs::path kSource = TAPBOOK_SOURCE_DIR;
const fs::path kBake = fs::path(TAPBOOK_BINARY_DIR) / "layout_bake";
const fs::path kScenes = fs::path(TAPBOOK_BINARY_DIR) / "assets" / "art" / "scenes";

using BakeRun = tb::test::ToolRun;

BakeRun bake(const fs::path& book, const fs::path& out) {
    return tb::test::run_tool("QT_QPA_PLATFORM=offscreen '" + kBake.string() + "' --book '" + book.string() + "' --out '" +
                              out.string() + "' --art '" TAPBOOK_ART_ICONS "' --art '" TAPBOOK_ART_OWN_ICONS "'");
}

// How many story pictures a page file asks for: one per scene line, one for all its panels.
int pictures_asked(const fs::path& page) {
    std::ifstream in(page);
    int scenes = 0;
    bool panels = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("scene | ", 0) == 0) ++scenes;
        if (line.rfind("panel | ", 0) == 0) panels = true;
    }
    return scenes + (panels ? 1 : 0);
}

class SceneBake : public testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kBake)) GTEST_SKIP() << "the pictures are prebaked: no layout_bake in this build";
        dir_ = fs::temp_directory_path() / ("tapbook-scenes-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy(kSource / "book", dir_ / "book", fs::copy_options::recursive);
    }
    void TearDown() override {
        if (!dir_.empty()) fs::remove_all(dir_);
    }
    // Replaces the first line of a page file starting with `start` (a scene line) by `line`.
    void set_line(const char* nn, const std::string& start, const std::string& line) {
        fs::path file = dir_ / "book" / "pages" / (std::string(nn) + ".txt");
        std::string s = read_file(file);
        auto at = s.find("\n" + start);
        ASSERT_NE(at, std::string::npos) << start << " in " << file;
        auto end = s.find('\n', at + 1);
        s.replace(at + 1, end - at - 1, line);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << s;
    }
    BakeRun bake_copy() { return bake(dir_ / "book", dir_ / "out"); }
    fs::path dir_;
};

}  // namespace

TEST(Scenes, EveryStoryPictureIsWrittenOutOnItsOwn) {
    if (!fs::exists(kBake)) GTEST_SKIP() << "the pictures are prebaked: no layout_bake in this build";
    int total = 0;
    for (int k = 0; k < 34; ++k) {
        char nn[8], name[32];
        std::snprintf(nn, sizeof nn, "%02d", k);
        const int asked = pictures_asked(kSource / "book" / "pages" / (std::string(nn) + ".txt"));
        for (int n = 1; n <= asked + 1; ++n) {
            std::snprintf(name, sizeof name, "page%s-%d.png", nn, n);
            QImage img(QString::fromStdString((kScenes / name).string()));
            if (n <= asked) {
                EXPECT_FALSE(img.isNull()) << name << " is missing or unreadable";
                EXPECT_GT(img.width(), 200) << name;
            } else {
                EXPECT_FALSE(fs::exists(kScenes / name)) << name << ": a picture no scene line asks for";
            }
        }
        total += asked;
    }
    // Page index 08's "Listen and number" rests on its four numbered pictures.
    EXPECT_TRUE(fs::exists(kScenes / "page08-1.png"));
    EXPECT_GT(total, 20);
}

TEST_F(SceneBake, BakingTwiceGivesTheSamePictures) {
    BakeRun r = bake_copy();
    ASSERT_EQ(r.exit_code, 0) << r.output;
    int compared = 0;
    for (const auto& e : fs::directory_iterator(dir_ / "out" / "art" / "scenes")) {
        EXPECT_EQ(read_file(e.path()), read_file(kScenes / e.path().filename())) << e.path().filename();
        ++compared;
    }
    for (const char* page : {"pictures/page-01.jpg", "pictures/page-09.jpg", "pictures/page-17.jpg"})
        EXPECT_EQ(read_file(dir_ / "out" / page), read_file(fs::path(TAPBOOK_BINARY_DIR) / "assets" / page)) << page;
    EXPECT_GT(compared, 20);
}

TEST_F(SceneBake, ScenesTheBakeCannotDrawAreRefusedNamingThePage) {
    struct Case {
        const char* what;
        const char* page;
        std::string start, line;
        std::string expected;  // a regular expression the output must match
    };
    const Case cases[] = {
        {"an unknown character", "16", "scene | classroom | Ben sit", "scene | classroom | Bob sit | pencil box under Bob",
         "page 16 \\(printed 34-35\\), 16.txt:[0-9]+: the scene names \"Bob\", who is not in characters.txt"},
        {"an unknown thing", "04", "scene | classroom", "scene | classroom | Ben sit | spaceship under Ben",
         "page 4 .*04.txt:[0-9]+: the scene names the thing \"spaceship\""},
        {"a thing put by something not in the scene", "04", "scene | classroom", "scene | classroom | Ben sit | schoolbag under Rosa",
         "04.txt:[0-9]+: the scene puts \"schoolbag\" under \"Rosa\", which is not in the scene"},
        {"a part the character does not have", "09", "scene | park", "scene | park, sunny | Lily stand without cap | -",
         "09.txt:[0-9]+: the scene leaves \"cap\" off Lily"},
        {"a scene too full for its frame", "04", "scene | classroom",
         "scene | classroom | Miss Zhao point, Ben sit, Rosa point, Lily wave, Tao Tao run, Kai wave | desk",
         "page 4 \\(printed 10-11\\), 04.txt:[0-9]+: the scene is too full for its frame"},
        {"a story picture without a scene", "04", "scene | classroom", "# no scene here",
         "page 4 \\(printed 10-11\\): story picture 1 needs a scene line"},
        {"an unknown pose", "04", "scene | classroom", "scene | classroom | Ben juggle | -", "04.txt:[0-9]+: \"Ben juggle\" needs a pose"},
        {"an unknown setting", "04", "scene | classroom", "scene | moon | Ben sit | -", "04.txt:[0-9]+: unknown setting \"moon\""},
        {"an unknown weather", "04", "scene | classroom", "scene | classroom, foggy | Ben sit | -", "04.txt:[0-9]+: unknown weather \"foggy\""},
        {"a scene with no picture to go in", "01", "heading | Let's talk", "scene | classroom | Ben sit | -",
         "01.txt:[0-9]+: the spread has no story picture for this scene"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        if (std::string(c.start) == "heading | Let's talk") {  // an extra scene line on a page without room for one
            std::ofstream(dir_ / "book" / "pages" / "01.txt", std::ios::app) << c.line << "\n";
        } else {
            set_line(c.page, c.start, c.line);
        }
        BakeRun r = bake_copy();
        EXPECT_NE(r.exit_code, 0) << r.output;
        EXPECT_TRUE(std::regex_search(r.output, std::regex(c.expected))) << r.output;
        EXPECT_FALSE(fs::exists(dir_ / "out" / "art" / "scenes")) << "nothing is written when the bake is refused";
    }
}

TEST_F(SceneBake, TheCastAndThingMapsRefuseDuplicatesAndBadLines) {
    std::ofstream(dir_ / "book" / "characters.txt", std::ios::app) << "Lily | child | 70 | skin #ffffff\nNobody | giant | 500 | skin #fff\n";
    std::ofstream(dir_ / "book" / "things.txt", std::ios::app) << "desk | @desk | 40\nbroom | broom\n";
    BakeRun r = bake_copy();
    EXPECT_NE(r.exit_code, 0);
    EXPECT_TRUE(std::regex_search(r.output, std::regex("characters.txt:[0-9]+: \"Lily\" is described twice"))) << r.output;
    EXPECT_TRUE(std::regex_search(r.output, std::regex("characters.txt:[0-9]+: a character is name \\| adult"))) << r.output;
    EXPECT_TRUE(std::regex_search(r.output, std::regex("things.txt:[0-9]+: \"desk\" is named twice"))) << r.output;
    EXPECT_TRUE(std::regex_search(r.output, std::regex("things.txt:[0-9]+: a thing is name \\| icon \\| size"))) << r.output;
}

TEST_F(SceneBake, AThingMappedToNoIconIsRefused) {
    std::ofstream(dir_ / "book" / "things.txt", std::ios::app) << "broom | witchs-broom-xyz | 30\n";
    BakeRun r = bake_copy();
    EXPECT_NE(r.exit_code, 0);
    EXPECT_TRUE(std::regex_search(r.output, std::regex("things.txt:[0-9]+: \"broom\" names no icon of the set"))) << r.output;
}

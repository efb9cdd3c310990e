// The vocabulary pictures: every word card and marker drawn from the map in book/art.txt, the
// bake's refusal of a map that leaves a word undrawn or draws two words alike, the pictures it
// leaves under build/assets/art/words/, and a bake that repeats byte for byte.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

#ifdef TAPBOOK_LAYOUT_BAKE_EXE
namespace fs = std::filesystem;

const QString kAssets = QStringLiteral(TAPBOOK_BINARY_DIR "/assets/");

std::string read_all(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The English of every word and marker item of the pages: the names their pictures go under.
std::set<std::string> drawn_items() {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(fs::path(TAPBOOK_SOURCE_DIR) / "book" / "pages")) {
        std::ifstream in(e.path());
        for (std::string line; std::getline(in, line);) {
            for (const std::string kind : {"word | ", "marker | "})
                if (line.rfind(kind, 0) == 0) out.insert(line.substr(kind.size(), line.find(" | ", kind.size()) - kind.size()));
        }
    }
    return out;
}

struct Bake {
    int exit_code = -1;
    std::string errors;
};

Bake run_bake(const fs::path& book, const fs::path& out) {
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(TAPBOOK_LAYOUT_BAKE_EXE, {"--book", QString::fromStdString(book.string()), "--out", QString::fromStdString(out.string()),
                                      "--art", TAPBOOK_ART_ICONS, "--art", TAPBOOK_ART_OWN_ICONS});
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError().toStdString()};
}

// A copy of book/ whose art.txt has one line replaced (or, with an empty replacement, removed),
// or a line added when `from` is empty.
class BrokenMap : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        book = fs::path(dir.path().toStdString()) / "book";
        fs::copy(fs::path(TAPBOOK_SOURCE_DIR) / "book", book, fs::copy_options::recursive);
    }
    void edit(const std::string& from, const std::string& to) {
        std::string map = read_all(book / "art.txt");
        if (from.empty()) {
            map += to + "\n";
        } else {
            auto at = map.find("\n" + from + "\n");
            ASSERT_NE(at, std::string::npos) << from;
            map.replace(at + 1, from.size() + 1, to.empty() ? "" : to + "\n");
        }
        std::ofstream(book / "art.txt", std::ios::binary) << map;
    }
    // Bakes the broken book: it must fail, say `expected`, and write no page picture.
    void expect_refused(const std::string& expected) {
        fs::path out = fs::path(dir.path().toStdString()) / "out";
        Bake b = run_bake(book, out);
        EXPECT_NE(b.exit_code, 0);
        EXPECT_NE(b.errors.find(expected), std::string::npos) << b.errors;
        EXPECT_FALSE(fs::exists(out / "pictures" / "page-01.jpg"));
    }
    QTemporaryDir dir;
    fs::path book;
};

TEST_F(BrokenMap, AWordCardWithNoArtworkIsNamed) {
    edit("a goose | goose", "");
    expect_refused("\"a goose\" has no artwork");
}

TEST_F(BrokenMap, AMarkerPictureWithNoArtworkIsNamed) {
    edit("a pair of pink gloves | gloves#f06eaa", "");
    expect_refused("\"a pair of pink gloves\" has no artwork");
}

TEST_F(BrokenMap, TwoWordsDrawnAlikeAreBothNamed) {
    edit("a duck | duck", "a duck | goose");
    expect_refused("\"goose\" and \"duck\" share one artwork");
}

TEST_F(BrokenMap, AnIconTheLibraryLacksIsNamed) {
    edit("a goat | goat", "a goat | goatling");
    expect_refused("no icon \"goatling\"");
}

TEST_F(BrokenMap, ACountOutOfRangeIsAFaultOfForm) {
    edit("ten | 10 * star", "ten | 30 * star");
    expect_refused("\"ten\": a count is 1 to 20");
}

TEST_F(BrokenMap, AnEntryNoPageDrawsIsNamed) {
    edit("", "a unicorn | unicorn");
    expect_refused("\"unicorn\" is drawn nowhere");
}

TEST_F(BrokenMap, AWordMappedTwiceIsNamed) {
    edit("", "goose | swan");
    expect_refused("\"goose\" is mapped twice");
}

TEST(LayoutWordArt, EveryWordCardAndMarkerLeavesItsPictureUnderItsEnglish) {
    const std::set<std::string> items = drawn_items();
    ASSERT_GT(items.size(), 150u);
    const QString dir = kAssets + "art/words/";
    std::set<std::string> listed;
    std::ifstream index((dir + "index.txt").toStdString());
    for (std::string line; std::getline(index, line);) listed.insert(line);
    EXPECT_EQ(listed, items);
    std::set<std::string> on_disk;
    for (const QString& f : QDir(dir).entryList({"*.png"}, QDir::Files)) on_disk.insert(f.chopped(4).toStdString());
    EXPECT_EQ(on_disk, items);
    // A word card's picture is wider than high (the word is printed under it); all are real pictures.
    QImage goose(dir + "a goose.png");
    ASSERT_FALSE(goose.isNull());
    EXPECT_GT(goose.width(), goose.height());
}

TEST(LayoutWordArt, BakingAgainGivesTheSameBytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    fs::path out = fs::path(dir.path().toStdString());
    Bake b = run_bake(fs::path(TAPBOOK_SOURCE_DIR) / "book", out);
    ASSERT_EQ(b.exit_code, 0) << b.errors;
    int compared = 0;
    for (const auto& e : fs::recursive_directory_iterator(out)) {
        if (!e.is_regular_file()) continue;
        fs::path rel = fs::relative(e.path(), out);
        fs::path built = fs::path(kAssets.toStdString()) / rel;
        ASSERT_TRUE(fs::exists(built)) << rel;
        EXPECT_TRUE(read_all(e.path()) == read_all(built)) << rel << " differs from the build's";
        ++compared;
    }
    EXPECT_GT(compared, 36 + 150);
}
#endif

}  // namespace

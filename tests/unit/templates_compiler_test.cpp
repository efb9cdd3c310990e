// The template compiler's placing of page units by name (units that a later, generated source
// supplies) and its texts taken from the book's extras list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "ui/store/template_store.hpp"
#include "ui/store/type_blocks.hpp"
#include "support/carried_templates.hpp"

using namespace tb;
using namespace tb::ui;
namespace fs = std::filesystem;

namespace {

class Compiler : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tapbook-compiler-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return (dir_ / name).string();
    }
    // Runs the compiler; returns its exit status and keeps what it said.
    int compile(const std::string& args) {
        std::string cmd = std::string(TAPBOOK_BINARY_DIR "/tapbook_template_compiler --out ") + (dir_ / "set.bin").string() +
                          " --assets " + dir_.string() + " " + args + " 2>" + (dir_ / "said.txt").string();
        int status = std::system(cmd.c_str());
        std::ifstream in(dir_ / "said.txt");
        std::stringstream ss;
        ss << in.rdbuf();
        said_ = ss.str();
        if (status == 0) {
            std::ifstream bin(dir_ / "set.bin", std::ios::binary);
            bytes_.assign(std::istreambuf_iterator<char>(bin), std::istreambuf_iterator<char>());
            set_ = TemplateSet::parse(bytes_);
        }
        return status;
    }
    std::optional<UnitRecord> named(const char* utf8_name) {
        if (!set_ || set_->window_count() != 1) return std::nullopt;
        return test::record_named(set_->window_at(0), utf8_name);
    }

    fs::path dir_;
    std::string said_;
    Blob bytes_;
    std::unique_ptr<TemplateSet> set_;
};

const char* const kBook = R"({"window": "w", "id": "0x52000001", "place": [0, 0, 100, 100],
  "units": [{"name": "book", "type": "PageControl", "page_units": [["p1"], ["p2"]],
             "block": {"pages": ["a", "b"]}}]})";

}  // namespace

TEST_F(Compiler, PageUnitsMayComeFromALaterFile) {
    std::string a = write("a.json", kBook);
    std::string b = write("b.json", R"({"window": "w", "units": [
        {"name": "p2", "type": "PicBox"}, {"name": "p1", "type": "PicBox"},
        {"name": "x", "type": "TransLabel", "parent": "p2"}]})");
    ASSERT_EQ(compile(a + " " + b), 0) << said_;
    ASSERT_TRUE(set_);
    auto book = named("book"), p1 = named("p1"), p2 = named("p2"), x = named("x");
    ASSERT_TRUE(book && p1 && p2 && x);
    EXPECT_EQ(p1->parent, book->unit_id);
    EXPECT_EQ(p2->parent, book->unit_id);
    EXPECT_EQ(book->children, (std::vector<std::uint32_t>{p1->unit_id, 0, p2->unit_id, 0}));
    WindowTemplate& w = set_->window_at(0);
    EXPECT_EQ(w.page_of(p1->unit_id), 0);
    EXPECT_EQ(w.page_of(x->unit_id), 1);
    EXPECT_EQ(p2->children, std::vector<std::uint32_t>{x->unit_id});
}

TEST_F(Compiler, AListedUnitThatIsMissingIsAnErrorUnlessAllowed) {
    std::string a = write("a.json", kBook);
    std::string b = write("b.json", R"({"window": "w", "units": [{"name": "p1", "type": "PicBox"}]})");
    EXPECT_NE(compile(a + " " + b), 0);
    EXPECT_NE(said_.find("\"p2\""), std::string::npos) << said_;

    ASSERT_EQ(compile("--allow-missing-units " + a + " " + b), 0) << said_;
    auto book = named("book"), p1 = named("p1");
    ASSERT_TRUE(book && p1);
    EXPECT_EQ(book->children, (std::vector<std::uint32_t>{p1->unit_id, 0, 0}));
    EXPECT_NE(said_.find("warning"), std::string::npos);
}

TEST_F(Compiler, AUnitOnTwoPagesIsAnError) {
    std::string a = write("a.json", kBook);
    std::string b = write("b.json", R"({"window": "w", "units": [
        {"name": "p1", "type": "PicBox", "parent": "book", "page": 1}, {"name": "p2", "type": "PicBox"}]})");
    EXPECT_NE(compile(a + " " + b), 0);
    EXPECT_NE(said_.find("p1"), std::string::npos) << said_;
    // Listing the page the unit already names is fine.
    std::string c = write("c.json", R"({"window": "w", "units": [
        {"name": "p1", "type": "PicBox", "parent": "book", "page": 0}, {"name": "p2", "type": "PicBox"}]})");
    EXPECT_EQ(compile(a + " " + c), 0) << said_;
    // More page lists than pages.
    std::string d = write("d.json", R"({"window": "w", "id": "0x52000001", "units": [{"name": "book",
        "type": "PageControl", "page_units": [[], [], []], "block": {"pages": ["a", "b"]}}]})");
    EXPECT_NE(compile(d), 0);
}

TEST_F(Compiler, TextsFromTheExtrasList) {
    std::string extras = write("extras.txt", "# comment\nedition | 样书 Tapbook\nright1 | Great job! | 干得好！\n");
    std::string src = write("w.json", R"({"window": "w", "id": "0x52000001", "units": [
        {"name": "l1", "type": "Label", "block": {"caption": {"extras": "edition", "default": "D"}}},
        {"name": "l2", "type": "Label", "block": {"caption": {"extras": "right1", "column": 2}}}]})");
    ASSERT_EQ(compile("--extras " + extras + " " + src), 0) << said_;
    EXPECT_EQ(decode_label(named("l1")->type_block)->caption, gbk("样书 Tapbook"));
    EXPECT_EQ(decode_label(named("l2")->type_block)->caption, gbk("干得好！"));

    // No list: the default stands where one is given, else the text is an error.
    std::string with_default = write("d.json", R"({"window": "w", "id": "0x52000001", "units": [
        {"name": "l1", "type": "Label", "block": {"caption": {"extras": "edition", "default": "D"}}}]})");
    ASSERT_EQ(compile(with_default), 0) << said_;
    EXPECT_EQ(decode_label(named("l1")->type_block)->caption, "D");
    EXPECT_NE(compile(src), 0);

    // An entry or column the list lacks is an error, not an empty caption.
    std::string unknown = write("u.json", R"({"window": "w", "id": "0x52000001", "units": [
        {"name": "l1", "type": "Label", "block": {"caption": {"extras": "nothing"}}}]})");
    EXPECT_NE(compile("--extras " + extras + " " + unknown), 0);
    std::string column = write("c.json", R"({"window": "w", "id": "0x52000001", "units": [
        {"name": "l1", "type": "Label", "block": {"caption": {"extras": "edition", "column": 2}}}]})");
    EXPECT_NE(compile("--extras " + extras + " " + column), 0);
}

TEST_F(Compiler, ThePageUnitsFileOfTheLayoutStep) {
    std::string book = write("book.json", R"({"window": "w", "id": "0x52000001", "units": [
        {"name": "book", "type": "PageControl", "page_units": [["p2"], ["p1"]], "page_units_at": [-4, 60],
         "block": {"pages": ["a", "b"]}}]})");
    std::string laid = write("pages.json", R"({"window": "main", "units": [
        {"name": "p2", "type": "PicBox", "place": [0, 0, 800, 540], "parent": "book", "page": 0,
         "block": {"display_mode": 1}},
        {"name": "h_1", "type": "TransLabel", "place": [5, -4, 30, 20], "parent": "p2", "cursor": "hand", "tag": "2",
         "events": {"-1": "page_hotspot_pressed"}, "block": {"caption": "透明标签", "colour": "0x00FF0000"}},
        {"name": "e_1", "type": "EditBox", "place": [9, 9, 40, 20], "parent": "p2", "tab_stop": true,
         "events": {"0": "page_fill_in_changed"}},
        {"name": "o_1", "type": "TransLabel", "place": [1, 2, 20, 20], "parent": "p2", "disabled": true,
         "cursor": "arrow"},
        {"name": "p1", "type": "PicBox", "place": [0, 0, 800, 540], "parent": "book", "page": 1}]})");
    ASSERT_EQ(compile("--page-units w=" + laid + " " + book), 0) << said_;
    auto bk = named("book"), p2 = named("p2"), h = named("h_1"), e = named("e_1"), o = named("o_1");
    ASSERT_TRUE(bk && p2 && h && e && o);
    EXPECT_EQ(p2->parent, bk->unit_id);
    EXPECT_EQ(set_->window_at(0).page_of(h->unit_id), 0);
    EXPECT_EQ(set_->window_at(0).page_of(named("p1")->unit_id), 1);
    EXPECT_EQ(p2->left, -4);
    EXPECT_EQ(p2->top, 60);
    EXPECT_EQ(decode_picbox(p2->type_block)->display_mode, 1u);
    EXPECT_EQ(h->parent, p2->unit_id);
    EXPECT_EQ(test::place_of(*h), (std::array{5, -4, 30, 20}));
    EXPECT_EQ(h->cursor, kCursorHand);
    EXPECT_EQ(h->tag_number(), 2);
    EXPECT_EQ(h->handler_for(-1), test::handler_page_hotspot_pressed);
    EXPECT_EQ(decode_translabel(h->type_block)->caption, gbk("透明标签"));
    EXPECT_TRUE(e->tab_stop());
    EXPECT_TRUE(e->type_block.empty());
    EXPECT_EQ(e->handler_for(0), test::handler_page_fill_in_changed);
    EXPECT_TRUE(o->disabled());
    EXPECT_EQ(o->cursor, kCursorArrow);
    EXPECT_TRUE(o->bindings.empty());

    // The page a unit names and the page book's list must agree.
    std::string swapped = write("swapped.json", R"({"window": "main", "units": [
        {"name": "p2", "type": "PicBox", "parent": "book", "page": 1},
        {"name": "p1", "type": "PicBox", "parent": "book", "page": 0}]})");
    EXPECT_NE(compile("--page-units w=" + swapped + " " + book), 0);
    // A handler the table lacks is refused.
    std::string unknown = write("unknown.json", R"({"window": "main", "units": [
        {"name": "p2", "type": "PicBox", "parent": "book", "page": 0},
        {"name": "h", "type": "TransLabel", "parent": "p2", "events": {"-1": "no_such_handler"}},
        {"name": "p1", "type": "PicBox", "parent": "book", "page": 1}]})");
    EXPECT_NE(compile("--page-units w=" + unknown + " " + book), 0);
    EXPECT_NE(said_.find("no_such_handler"), std::string::npos) << said_;
}

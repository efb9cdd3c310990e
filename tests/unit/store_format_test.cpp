// Reading the stored template set: layout, refusal of damaged sets, searches and the record
// bookkeeping of run-time copies.
#include <gtest/gtest.h>

#include <random>

#include "runtime/bytes.hpp"
#include "runtime/error.hpp"
#include "support/store_sets.hpp"
#include "ui/store/template_store.hpp"

using namespace tb;
using namespace tb::ui;
using tb::test::page_book_window;
using tb::test::plain_window;

namespace {

Blob four_windows() {
    return write_template_set({plain_window(0x52010002, 2), page_book_window(0x52010061), plain_window(0x52010915, 3),
                               plain_window(0x52012DF8, 1)});
}

std::unique_ptr<TemplateSet> parse(const Blob& b, std::string* why = nullptr) { return TemplateSet::parse(b, why); }
// A set reads its bytes in place: they must outlive it.
std::unique_ptr<TemplateSet> parse(Blob&&, std::string* why = nullptr) = delete;

// Reads everything a caller can reach, so sanitizers see every access.
void walk_all(TemplateSet& set) {
    for (int w = 0; w < set.window_count(); ++w) {
        WindowTemplate& win = set.window_at(w);
        for (int i = 0; i < win.record_count(); ++i) {
            UnitRecord r = win.record_at(i);
            (void)win.page_of(r.unit_id);
            (void)r.tag_number();
        }
    }
}

}  // namespace

TEST(StoreFormat, RecordsReadBackAsWritten) {
    WindowSpec spec = page_book_window();
    spec.units[4].comment = gbk("注释");
    spec.units[4].flags = kFlagVisible | kFlagDisabled | kFlagTabStop;
    spec.units[4].tab_order = 42;
    spec.units[4].type_block = encode(TransLabelBlock{});
    Blob bytes = write_template_set({spec});
    auto set = parse(bytes);
    ASSERT_TRUE(set);
    ASSERT_EQ(set->window_count(), 1);
    WindowTemplate& w = set->window_at(0);
    EXPECT_EQ(w.id(), 0x52010061u);
    EXPECT_EQ(w.window_word(), 0x000A0192u);
    EXPECT_EQ(w.class_id(), 0x190106D4u);
    ASSERT_EQ(w.record_count(), static_cast<int>(spec.units.size()));
    for (int i = 0; i < w.record_count(); ++i) {
        const UnitSpec& u = spec.units[static_cast<std::size_t>(i)];
        UnitRecord r = w.record_at(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(w.unit_id_at(i), u.id);
        EXPECT_EQ(r.unit_id, u.id);
        EXPECT_EQ(r.type_code, u.type_code);
        EXPECT_EQ(r.name, u.name);
        EXPECT_EQ(r.comment, u.comment);
        EXPECT_EQ(r.left, u.left);
        EXPECT_EQ(r.top, u.top);
        EXPECT_EQ(r.width, u.width);
        EXPECT_EQ(r.height, u.height);
        EXPECT_EQ(r.parent, u.parent);
        EXPECT_EQ(r.children, u.children);
        EXPECT_EQ(r.cursor, u.cursor);
        EXPECT_EQ(r.tag, u.tag);
        EXPECT_EQ(r.flags, u.flags);
        EXPECT_EQ(r.tab_order, u.tab_order);
        EXPECT_EQ(r.bindings.size(), u.bindings.size());
        EXPECT_EQ(Blob(r.type_block.begin(), r.type_block.end()), u.type_block);
        EXPECT_EQ(w.index_of(u.id), i);
    }
    EXPECT_EQ(w.index_of(0x16FFFFFF), -1);
    EXPECT_FALSE(w.record_of(0x16FFFFFF));
    // The type block is a view into the set's bytes, not a copy.
    UnitRecord hot = w.record_at(4);
    EXPECT_GE(hot.type_block.data(), bytes.data());
    EXPECT_LE(hot.type_block.data() + hot.type_block.size(), bytes.data() + bytes.size());
}

TEST(StoreFormat, DirectoryOf32BytesHoldsFourWindowsAndTheSetEndsAfterTheLast) {
    Blob b = four_windows();
    ASSERT_EQ(b[0], 32);
    auto set = parse(b);
    ASSERT_TRUE(set);
    ASSERT_EQ(set->window_count(), 4);
    const std::uint32_t ids[] = {0x52010002, 0x52010061, 0x52010915, 0x52012DF8};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(set->window_at(i).id(), ids[i]);
    EXPECT_EQ(set->find_window(0x52010915), &set->window_at(2));
    EXPECT_EQ(set->find_window(0x52019999), nullptr);

    Blob longer = b;
    longer.push_back(0);
    std::string why;
    EXPECT_FALSE(parse(longer, &why));
    EXPECT_NE(why.find("after the last window"), std::string::npos) << why;
    Blob shorter(b.begin(), b.end() - 1);
    EXPECT_FALSE(parse(shorter));
    Blob odd = b;
    bytes::patch_u32(odd, 0, 28);
    EXPECT_FALSE(parse(odd));
    // Without windows the set is the directory length alone.
    const Blob no_windows{0, 0, 0, 0};
    EXPECT_TRUE(parse(no_windows));
    const Blob nothing;
    EXPECT_FALSE(parse(nothing));
}

TEST(StoreFormat, EveryTruncationIsRefusedAndFlippedBytesNeverCrash) {
    Blob b = write_template_set({page_book_window(), plain_window(0x52010915, 2)});
    for (std::size_t n = 0; n < b.size(); ++n) {
        Blob cut(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_FALSE(parse(cut)) << "cut at " << n;
    }
    std::mt19937 rng(7);
    for (std::size_t at = 0; at < b.size(); ++at) {
        Blob bad = b;
        bad[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        if (auto set = parse(bad)) walk_all(*set);
        bad[at] = 0xFF;
        if (auto set = parse(bad)) walk_all(*set);
    }
}

TEST(StoreFormat, InconsistentRecordsAreRefusedWithAReason) {
    WindowSpec w = page_book_window();
    std::string why;

    WindowSpec no_window_first = w;
    std::swap(no_window_first.units[0], no_window_first.units[1]);
    const Blob no_window_first_bytes = write_template_set({no_window_first});
    EXPECT_FALSE(parse(no_window_first_bytes, &why));
    EXPECT_NE(why.find("window's own record"), std::string::npos) << why;

    WindowSpec twice = w;
    twice.units[3].id = twice.units[2].id;
    const Blob twice_bytes = write_template_set({twice});
    EXPECT_FALSE(parse(twice_bytes, &why));
    EXPECT_NE(why.find("used twice"), std::string::npos) << why;

    // Damaged lengths, offsets and counts in a one-unit window.
    WindowSpec one = plain_window(0x52010915, 1);
    Blob b = write_template_set({one});
    // Layout: 4 + 8 directory, 8 window words, 2 empty strings, count, block length, ids, offsets.
    std::size_t block_at = 4 + 8 + 8 + 8 + 8;
    Blob bad_len = b;
    const std::uint32_t first_len = bytes::Reader(std::span(bad_len).subspan(block_at + 16)).u32();
    bytes::patch_u32(bad_len, block_at + 16, first_len - 30);  // the window record now ends mid-field
    EXPECT_FALSE(parse(bad_len, &why));
    Blob past = b;
    bytes::patch_u32(past, block_at + 16, 0x7FFFFFF0);
    EXPECT_FALSE(parse(past, &why));
    EXPECT_NE(why.find("past"), std::string::npos) << why;
    Blob bad_offset = b;
    bytes::patch_u32(bad_offset, block_at + 12, 0xFFFFFFFC);
    EXPECT_FALSE(parse(bad_offset));
    Blob bad_count = b;
    bytes::patch_u32(bad_count, block_at - 8, 0x20000000);
    EXPECT_FALSE(parse(bad_count));
}

TEST(StoreFormat, HandlerOffsetZeroIsABindingAndAllOnesIsNone) {
    WindowSpec w = page_book_window();
    w.units[6].bindings = {{-1, kNoHandler}, {0, 3}};
    const Blob set_bytes = write_template_set({w});
    auto set = parse(set_bytes);
    ASSERT_TRUE(set);
    WindowTemplate& win = set->window_at(0);
    EXPECT_EQ(win.record_at(4).handler_for(-1), 0u);
    EXPECT_EQ(win.record_at(5).handler_for(-1), 7u);
    EXPECT_EQ(win.record_at(6).handler_for(-1), kNoHandler);
    EXPECT_EQ(win.record_at(6).handler_for(0), 3u);
    EXPECT_EQ(win.record_at(4).handler_for(0), kNoHandler);
}

TEST(StoreSearch, FindByTagReadsTagsAsDecimalNumbers) {
    throw_runtime_errors();
    Blob b = four_windows();
    load_templates(b);
    const std::uint32_t main = 0x52010061;
    EXPECT_EQ(find_unit_by_tag(main, 1), (UnitRef{main, 0x16000007, static_cast<std::uint32_t>(UnitType::Label)}));
    EXPECT_EQ(find_unit_by_tag(main, 2).unit_id, 0x16000004u);  // the first in stored order
    EXPECT_EQ(find_unit_by_tag(main, 4).unit_id, 0x16000006u);  // tag " 4": leading blank
    // An empty tag reads 0: the window's own record comes first.
    EXPECT_EQ(find_unit_by_tag(main, 0), (UnitRef{main, 0x06000001, static_cast<std::uint32_t>(UnitType::Window)}));
    try {
        find_unit_by_tag(main, 5);
        FAIL() << "no unit has tag 5";
    } catch (const RuntimeErrorRaised& e) {
        EXPECT_EQ(e.message, gbk("未找到指定标记的组件"));
    }
    EXPECT_EQ(record_of(main, 0x16000006)->name, gbk("透明标签页四_1"));
    EXPECT_FALSE(record_of(0x52000000, 0x16000006));
    EXPECT_EQ(find_window(0x52012DF8)->record_count(), 2);

    UnitRecord r;
    r.tag = "-12x";
    EXPECT_EQ(r.tag_number(), -12);
    r.tag = gbk("二");
    EXPECT_EQ(r.tag_number(), 0);
}

TEST(StoreSearch, UnreadableSetRaisesTheLoadError) {
    throw_runtime_errors();
    Blob b = four_windows();
    b.pop_back();
    try {
        load_templates(b);
        FAIL() << "a cut set must not load";
    } catch (const RuntimeErrorRaised& e) {
        EXPECT_EQ(e.message, gbk("载入窗口模板数据段出错!"));
    }
}

TEST(StoreSearch, CollectFilterByPrefixTypeNameAndTagRange) {
    UnitRecord hot;
    hot.name = gbk("透明标签页32_15");
    hot.type_code = static_cast<std::uint32_t>(UnitType::TransLabel);
    hot.tag = "32";

    EXPECT_TRUE(CollectFilter{}.matches(hot));
    EXPECT_TRUE((CollectFilter{gbk("透明标签页"), {}}).matches(hot));
    EXPECT_FALSE((CollectFilter{gbk("透明标签练"), {}}).matches(hot));
    EXPECT_FALSE((CollectFilter{gbk("透明标签页32_15_"), {}}).matches(hot));  // longer than the name
    // A prefix ending in the lead byte of "页" still matches: bytes are compared.
    Text lead = gbk("透明标签页");
    lead.pop_back();
    EXPECT_TRUE((CollectFilter{lead, {}}).matches(hot));

    EXPECT_TRUE((CollectFilter{{}, gbk("透明标签")}).matches(hot));
    EXPECT_FALSE((CollectFilter{{}, gbk("透明")}).matches(hot));  // type names compare whole
    EXPECT_FALSE((CollectFilter{{}, gbk("标签")}).matches(hot));

    CollectFilter page{{}, gbk("透明标签"), 32, 32};
    EXPECT_TRUE(page.matches(hot));
    page.lowest_tag = page.highest_tag = 34;
    EXPECT_FALSE(page.matches(hot));
    UnitRecord untagged = hot;
    untagged.tag.clear();
    EXPECT_TRUE((CollectFilter{{}, {}, -5, 0}).matches(untagged));
    EXPECT_FALSE((CollectFilter{{}, {}, 1, 10}).matches(untagged));

    EXPECT_EQ(chinese_type_name(0x00040002), gbk("高级选择夹"));
    EXPECT_EQ(chinese_type_name(0x00030006), gbk("超级编辑框"));
    EXPECT_TRUE(chinese_type_name(0x00099999).empty());
}

TEST(StoreCopies, CopyIsInsertedAfterItsSourceInTheSamePageGroup) {
    const Blob set_bytes = write_template_set({page_book_window()});
    auto set = parse(set_bytes);
    ASSERT_TRUE(set);
    WindowTemplate& w = set->window_at(0);
    const int loaded = w.record_count();

    // A hotspot's copy joins its picture's child list right after the source.
    std::uint32_t c = w.append_copy(0x16000004);
    EXPECT_EQ(c >> 24, 0x16u);
    EXPECT_EQ(w.record_count(), loaded + 1);
    EXPECT_EQ(w.unit_id_at(loaded), c);
    UnitRecord copy = *w.record_of(c);
    UnitRecord src = *w.record_of(0x16000004);
    EXPECT_EQ(copy.name, src.name);
    EXPECT_EQ(copy.parent, src.parent);
    EXPECT_EQ(copy.tag, src.tag);
    EXPECT_EQ(copy.cursor, kCursorHand);
    EXPECT_EQ(copy.flags, src.flags);
    EXPECT_EQ(copy.left, src.left);
    EXPECT_TRUE(copy.bindings.empty());
    EXPECT_EQ(w.record_of(0x16000002)->children, (std::vector<std::uint32_t>{0x16000004, c, 0x16000005}));
    EXPECT_EQ(w.page_of(c), 0);

    // A page picture's copy goes into the page book's group of that page.
    std::uint32_t pc = w.append_copy(0x16000003);
    EXPECT_NE(pc, c);
    EXPECT_TRUE(w.record_of(pc)->children.empty());
    EXPECT_EQ(w.record_of(0x16000001)->children,
              (std::vector<std::uint32_t>{0x16000002, 0x16000008, 0, 0x16000003, pc, 0}));
    EXPECT_EQ(w.page_of(pc), 1);

    // A unit directly on the window: its copy lies on the window too.
    std::uint32_t lc = w.append_copy(0x16000007);
    EXPECT_EQ(w.record_of(lc)->parent, 0u);
    EXPECT_EQ(w.page_of(lc), -1);

    EXPECT_EQ(w.append_copy(0x06000001), 0u);  // the window's own record
    EXPECT_EQ(w.append_copy(0x16FFFFFF), 0u);

    // Removal drops the record and its child-list entry; the loaded bytes stay untouched.
    w.remove(0x16000004);
    EXPECT_EQ(w.index_of(0x16000004), -1);
    EXPECT_EQ(w.record_of(0x16000002)->children, (std::vector<std::uint32_t>{c, 0x16000005}));
    EXPECT_EQ(w.index_of(c), loaded - 1);
    w.remove(c);
    w.remove(0x06000001);  // ignored: a window is closed, not removed
    EXPECT_EQ(w.index_of(0x06000001), 0);
    // Ids are not reused while the window lives.
    std::uint32_t again = w.append_copy(0x16000005);
    EXPECT_NE(again, c);
    EXPECT_NE(again, 0x16000004u);

    w.reset();
    EXPECT_EQ(w.record_count(), loaded);
    EXPECT_EQ(w.record_of(0x16000002)->children, (std::vector<std::uint32_t>{0x16000004, 0x16000005}));
    EXPECT_EQ(w.record_of(0x16000001)->children, (std::vector<std::uint32_t>{0x16000002, 0x16000008, 0, 0x16000003, 0}));
}

TEST(StoreCopies, PageMembershipFollowsParentsUpToThePageBook) {
    WindowSpec spec = page_book_window();
    const Blob set_bytes = write_template_set({spec});
    auto set = parse(set_bytes);
    ASSERT_TRUE(set);
    WindowTemplate& w = set->window_at(0);
    EXPECT_EQ(w.page_of(0x16000002), 0);
    EXPECT_EQ(w.page_of(0x16000008), 0);
    EXPECT_EQ(w.page_of(0x16000004), 0);
    EXPECT_EQ(w.page_of(0x16000006), 1);
    EXPECT_EQ(w.page_of(0x16000007), -1);
    EXPECT_EQ(w.page_of(0x16000001), -1);
    EXPECT_EQ(w.page_of(0x12345678), -1);

    // Parents that loop in bad data end the walk.
    spec.units[2].parent = 0x16000004;  // 底图1 under its own hotspot
    spec.units[1].children = {0x16000003, 0};
    const Blob loop_bytes = write_template_set({spec});
    auto loop = parse(loop_bytes);
    ASSERT_TRUE(loop);
    EXPECT_EQ(loop->window_at(0).page_of(0x16000005), -1);
}

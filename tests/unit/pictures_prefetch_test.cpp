// Pictures decoded ahead on the prefetch worker: into the cache before they are asked for, once
// even when asked for meanwhile, a new list replacing the old; and the page book asking for the
// pages beside the one shown, so turning to them paints without decoding. (Run under
// ThreadSanitizer too.)
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/widgets/pictures/prefetch.hpp"
#include "support/picture_samples.hpp"
#include "support/widget_fixture.hpp"

using namespace tb;
using tb::media::PictureCache;
using tb::media::PicturePrefetcher;
using tb::media::PrefetchRequest;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::shared_ptr<const Bytes> page_jpeg(unsigned seed) {
    return std::make_shared<const Bytes>(test::encode_jpeg(test::make_page_image(1059, 763, 4, seed)));
}

}  // namespace

TEST(PicturePrefetch, DecodesAheadSoTheFirstRequestIsAHit) {
    PictureCache cache;
    PicturePrefetcher prefetcher(cache);
    const auto a = page_jpeg(1), b = page_jpeg(2);
    prefetcher.prefetch({{a, QSize(400, 270)}, {b, QSize(400, 270)}});
    prefetcher.wait_idle();
    EXPECT_EQ(cache.decodes(), 2u);
    EXPECT_EQ(prefetcher.completed(), 2u);
    const QImage got = cache.get(*a, QSize(400, 270));
    EXPECT_EQ(cache.decodes(), 2u) << "served from what the worker decoded";
    EXPECT_EQ(got, media::decode_picture(*a, QSize(400, 270)));
}

TEST(PicturePrefetch, APictureAskedForWhileItIsBeingPrefetchedIsDecodedOnce) {
    PictureCache cache(64, 256u * 1024 * 1024);
    PicturePrefetcher prefetcher(cache);
    const auto a = page_jpeg(3);
    for (int round = 0; round < 8; ++round) {
        const QSize size(300 + round, 200);
        prefetcher.prefetch({{a, size}});
        EXPECT_EQ(cache.get(*a, size).size(), size);  // whichever thread decodes, the other waits for it
        prefetcher.wait_idle();
        EXPECT_EQ(cache.decodes(), std::size_t(round + 1)) << "round " << round;
    }
}

TEST(PicturePrefetch, ANewListReplacesTheWaitingOneAndStoppingDropsWhatWaits) {
    PictureCache cache(64, 256u * 1024 * 1024);
    const auto big = page_jpeg(4), small = page_jpeg(5);
    {
        PicturePrefetcher prefetcher(cache);
        std::vector<PrefetchRequest> many;
        for (int i = 0; i < 20; ++i) many.push_back({big, QSize(500 + i, 360)});
        prefetcher.prefetch(many);
        prefetcher.prefetch({{small, QSize(40, 30)}});  // the pupil moved on
        prefetcher.wait_idle();
        EXPECT_LE(cache.decodes(), 2u) << "at most the decode under way, then the new list";
        cache.get(*small, QSize(40, 30));
        EXPECT_EQ(cache.hits(), 1u);

        prefetcher.prefetch(many);
    }  // stopped with most of the list waiting
    EXPECT_LT(cache.decodes(), 22u);
    // Damaged or empty bytes are skipped without harm.
    PicturePrefetcher prefetcher(cache);
    prefetcher.prefetch({{std::make_shared<const Bytes>(Bytes{0xFF, 0xD8, 0xFF, 0x00}), QSize(10, 10)},
                         {std::make_shared<const Bytes>(), QSize(10, 10)},
                         {nullptr, QSize(10, 10)}});
    prefetcher.wait_idle();
    EXPECT_EQ(prefetcher.completed(), 1u);
}

namespace {

constexpr std::uint32_t kWin = 0x52000400;
constexpr std::uint32_t kBook = 0x16000001;
constexpr std::uint32_t kFirstPicture = 0x16000010;
constexpr int kPages = 4;

class PicturePrefetchPages : public test::WidgetTest {
protected:
    // A book of four pages, each holding a page picture scaled into its box.
    void build() {
        auto w = test::window_spec(kWin);
        auto book = test::unit_spec(kBook, ui::UnitType::PageControl, "高级选择夹1", 0, {0, 0, 400, 270});
        ui::PageControlBlock pb;
        for (int k = 0; k < kPages; ++k) {
            book.children.push_back(kFirstPicture + std::uint32_t(k));
            book.children.push_back(0);
            pb.page_titles.push_back(std::to_string(2 * (k + 1)));
        }
        book.type_block = ui::encode(pb);
        w.units.push_back(book);
        for (int k = 0; k < kPages; ++k) {
            auto pic = test::unit_spec(kFirstPicture + std::uint32_t(k), ui::UnitType::PicBox, "图片框底图", kBook,
                                       {0, 0, 400, 270});
            ui::PicBoxBlock b;
            b.display_mode = 1;
            b.picture = *page_jpeg(10 + unsigned(k));
            pic.type_block = ui::encode(b);
            w.units.push_back(pic);
        }
        load({w});
        media::picture_cache().clear();
        ASSERT_TRUE(ui::show_window(kWin, false));
        paint();
    }
    void paint() { control(kWin, 0)->grab(); }
    void turn_to(int k) {
        ui::set_property(kWin, kBook, ui::prop::kCurrentPage, std::int32_t(k));
        paint();
    }
    void TearDown() override {
        WidgetTest::TearDown();
        media::picture_cache().clear();
    }
    static std::size_t decodes() { return media::picture_cache().decodes(); }
};

}  // namespace

TEST_F(PicturePrefetchPages, TurningToAPageBesideTheShownOnePaintsWithoutDecoding) {
    build();
    media::picture_prefetcher().wait_idle();
    for (int k = 1; k < kPages; ++k) {
        const std::size_t before = decodes();
        turn_to(k);  // forward, onto the page the worker decoded while the one before was shown
        // Counted once the worker is idle: it starts on the next page while this one paints, and a
        // slow paint may see that decode already done. A page painted without its decode ahead
        // would count one more.
        media::picture_prefetcher().wait_idle();
        EXPECT_EQ(decodes(), before + (k + 1 < kPages ? 1 : 0))
            << "page " << k << " paints from its decode ahead, the next is decoded ahead, the one left is cached";
    }
    const std::size_t before = decodes();
    turn_to(kPages - 2);  // and back
    EXPECT_EQ(decodes(), before);
}

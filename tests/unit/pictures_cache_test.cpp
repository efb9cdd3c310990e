// The cache of decoded, scaled pictures: hits without decoding, keyed by content and size, bounded.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <vector>

#include "ui/widgets/pictures/pictures.hpp"
#include "support/picture_samples.hpp"

using tb::media::PictureCache;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes picture(int n) {
    QImage img(64, 48, QImage::Format_RGB32);
    img.fill(QColor::fromHsv((n * 37) % 360, 200, 200));
    return tb::test::encode_jpeg(img);
}

}  // namespace

TEST(PicturesCache, SecondRequestIsServedWithoutDecoding) {
    PictureCache cache;
    const Bytes a = picture(1);
    QImage first = cache.get(a, QSize(32, 24));
    ASSERT_EQ(first.size(), QSize(32, 24));
    QImage again = cache.get(a, QSize(32, 24));
    EXPECT_EQ(cache.decodes(), 1u);
    EXPECT_EQ(cache.hits(), 1u);
    EXPECT_EQ(again.cacheKey(), first.cacheKey());  // the very same pixels, shared

    // The same bytes stored elsewhere are the same picture.
    const Bytes copy = a;
    EXPECT_EQ(cache.get(copy, QSize(32, 24)).cacheKey(), first.cacheKey());
    EXPECT_EQ(cache.decodes(), 1u);

    // Another size or other bytes of the same length are other entries.
    EXPECT_EQ(cache.get(a, QSize(16, 12)).size(), QSize(16, 12));
    EXPECT_EQ(cache.decodes(), 2u);
    Bytes changed = a;
    changed[changed.size() / 2] ^= 0x01;
    cache.get(changed, QSize(32, 24));
    EXPECT_EQ(cache.decodes(), 3u);
}

TEST(PicturesCache, KeepsTheMostRecentlyUsedWithinItsBounds) {
    PictureCache cache(8);
    std::vector<Bytes> pics;
    for (int i = 0; i < 10; ++i) pics.push_back(picture(i));
    for (int i = 0; i < 8; ++i) cache.get(pics[i], QSize(32, 24));
    EXPECT_EQ(cache.entries(), 8u);
    cache.get(pics[0], QSize(32, 24));  // used again: now the most recent
    EXPECT_EQ(cache.decodes(), 8u);
    cache.get(pics[8], QSize(32, 24));  // pushes out the least recent, picture 1
    cache.get(pics[9], QSize(32, 24));  // and picture 2
    EXPECT_EQ(cache.entries(), 8u);
    EXPECT_EQ(cache.bytes(), 8u * 32 * 24 * 4);
    cache.get(pics[0], QSize(32, 24));
    EXPECT_EQ(cache.decodes(), 10u);
    cache.get(pics[1], QSize(32, 24));
    EXPECT_EQ(cache.decodes(), 11u);

    cache.clear();
    EXPECT_EQ(cache.entries(), 0u);
    EXPECT_EQ(cache.bytes(), 0u);
}

TEST(PicturesCache, ByteBoundLimitsLargePictures) {
    const std::size_t one = 32 * 24 * 4;
    PictureCache cache(8, 3 * one);
    for (int i = 0; i < 6; ++i) cache.get(picture(i), QSize(32, 24));
    EXPECT_EQ(cache.entries(), 3u);
    EXPECT_LE(cache.bytes(), 3 * one);
    // A picture bigger than the whole budget is decoded but not kept.
    const Bytes a = picture(20);
    EXPECT_EQ(cache.get(a, QSize(64, 48)).size(), QSize(64, 48));
    EXPECT_EQ(cache.entries(), 3u);
}

TEST(PicturesCache, DamagedPicturesAreNotKept) {
    PictureCache cache;
    const Bytes junk = {0xFF, 0xD8, 0xFF, 0x00, 0x12};
    EXPECT_TRUE(cache.get(junk, QSize(10, 10)).isNull());
    EXPECT_TRUE(cache.get(junk, QSize(10, 10)).isNull());
    EXPECT_EQ(cache.entries(), 0u);
    EXPECT_TRUE(cache.get(Bytes{}, QSize(10, 10)).isNull());
}

TEST(PicturesCache, ProgramCacheServesDecodePictureCached) {
    tb::media::picture_cache().clear();
    const Bytes a = picture(3);
    const std::size_t before = tb::media::picture_cache().decodes();
    QImage one = tb::media::decode_picture_cached(a, QSize(20, 20));
    QImage two = tb::media::decode_picture_cached(a, QSize(20, 20));
    EXPECT_EQ(one.cacheKey(), two.cacheKey());
    EXPECT_EQ(tb::media::picture_cache().decodes(), before + 1);
    tb::media::picture_cache().clear();
}

// Picture decoding: JPEG shrinking in the DCT domain, GIF and BMP through Qt, and bad bytes.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QMovie>

#include <cstdint>
#include <random>
#include <vector>

#include "ui/widgets/pictures/jpeg_decode.hpp"
#include "ui/widgets/pictures/pictures.hpp"
#include "support/picture_samples.hpp"

using tb::media::decode_picture;
using tb::media::PictureFormat;
using tb::media::PictureInfo;
using Bytes = std::vector<std::uint8_t>;

namespace {

const Bytes& page_jpeg() {
    static const Bytes bytes = tb::test::encode_jpeg(tb::test::make_page_image());
    return bytes;
}

QImage solid(int w, int h, QColor c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

Bytes save_with_qt(const QImage& img, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(img.save(&buffer, format));
    return Bytes(data.begin(), data.end());
}

// A 2 x 1 GIF with one frame: a red and a blue pixel.
const Bytes kOneFrameGif = {
    'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0,         // screen 2 x 1, 2-colour table
    0xFF, 0, 0, 0, 0, 0xFF,                                       // red, blue
    0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0,                             // image 2 x 1
    2, 2, 0x44, 0x0A, 0,                                          // LZW min code 2: clear, 0, 1, end
    0x3B};

// Sets the frame size stored in a JPEG's SOF0 segment.
Bytes with_declared_size(Bytes jpeg, int width, int height) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no SOF0 segment";
    return jpeg;
}

}  // namespace

TEST(PicturesJpeg, PagePictureIsHalvedInTheDctDomainThenFitsTheBox) {
    tb::media::BgrxImage half;
    auto r = tb::media::decode_jpeg_bgrx(page_jpeg(), 800, 540, half);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.scale_num, 4);  // 3/8 would give 795 x 573, narrower than the box
    EXPECT_EQ(r.source_width, 2118);
    EXPECT_EQ(r.source_height, 1526);
    EXPECT_EQ(half.width, 1059);
    EXPECT_EQ(half.height, 763);
    EXPECT_EQ(half.pixels.size(), 1059u * 763u * 4u);

    PictureInfo info;
    QImage img = decode_picture(page_jpeg(), QSize(800, 540), &info);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(800, 540));
    EXPECT_EQ(img.format(), QImage::Format_RGB32);
    EXPECT_EQ(info.format, PictureFormat::Jpeg);
    EXPECT_EQ(info.jpeg_scale_num, 4);
    EXPECT_EQ(info.source_size, QSize(2118, 1526));
    // The red panel (10%..30% across, 60%..90% down) stays red: the channels are in Qt's order.
    QColor panel = img.pixelColor(160, 405);
    EXPECT_GT(panel.red(), 180);
    EXPECT_LT(panel.blue(), 90);
    EXPECT_LT(panel.green(), 90);
    QColor paper = img.pixelColor(790, 530);
    EXPECT_GT(paper.red(), 200);
    EXPECT_GT(paper.blue(), 190);
}

TEST(PicturesJpeg, ScaleIsTheSmallestThatCoversTheBox) {
    const Bytes cover = tb::test::encode_jpeg(solid(1074, 1536, Qt::yellow));
    PictureInfo info;
    EXPECT_EQ(decode_picture(cover, QSize(152, 216), &info).size(), QSize(152, 216));
    EXPECT_EQ(info.jpeg_scale_num, 2);  // 1/8 gives 135 x 192, too small

    const Bytes icon = tb::test::encode_jpeg(solid(40, 40, Qt::green));
    EXPECT_EQ(decode_picture(icon, QSize(20, 20), &info).size(), QSize(20, 20));
    EXPECT_EQ(info.jpeg_scale_num, 4);
    EXPECT_EQ(decode_picture(icon, QSize(5, 5), &info).size(), QSize(5, 5));
    EXPECT_EQ(info.jpeg_scale_num, 1);

    // A box larger than the picture: full size, then stretched to the box.
    EXPECT_EQ(decode_picture(icon, QSize(100, 60), &info).size(), QSize(100, 60));
    EXPECT_EQ(info.jpeg_scale_num, 8);

    // No box: the full size.
    QImage full = decode_picture(page_jpeg(), QSize(), &info);
    EXPECT_EQ(full.size(), QSize(2118, 1526));
    EXPECT_EQ(info.jpeg_scale_num, 8);
    tb::media::BgrxImage raw;
    EXPECT_EQ(tb::media::decode_jpeg_bgrx(icon, 0, 0, raw).scale_num, 8);
    EXPECT_EQ(raw.width, 40);
}

TEST(PicturesJpeg, DamagedPicturesGiveNoImage) {
    const Bytes& good = page_jpeg();
    // Cut in the middle, and cut just before the end marker: libjpeg only warns about these.
    for (std::size_t keep : {good.size() / 2, good.size() - 2, std::size_t{200}, std::size_t{3}}) {
        Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(keep));
        EXPECT_TRUE(decode_picture(cut, QSize(800, 540)).isNull()) << keep;
        EXPECT_TRUE(decode_picture(cut).isNull()) << keep;
        tb::media::BgrxImage raw;
        EXPECT_FALSE(tb::media::decode_jpeg_bgrx(cut, 0, 0, raw).ok) << keep;
        EXPECT_TRUE(raw.pixels.empty());
    }
    EXPECT_TRUE(decode_picture(Bytes{}).isNull());
    EXPECT_TRUE(decode_picture(Bytes{0xFF, 0xD8, 0xFF}).isNull());

    // A header that claims a huge picture is refused before any pixel memory is taken.
    const Bytes small = tb::test::encode_jpeg(solid(64, 64, Qt::blue));
    EXPECT_FALSE(decode_picture(small).isNull());
    EXPECT_TRUE(decode_picture(with_declared_size(small, 60000, 60000)).isNull());
    EXPECT_TRUE(decode_picture(with_declared_size(small, 0, 64)).isNull());
}

TEST(PicturesJpeg, RandomAndFlippedBytesNeverCrash) {
    std::mt19937 rng(42);
    for (int i = 0; i < 50; ++i) {
        Bytes noise(static_cast<std::size_t>(rng() % 4000));
        for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
        EXPECT_TRUE(decode_picture(noise, QSize(80, 60)).isNull());
        if (noise.size() > 3) {
            noise[0] = 0xFF, noise[1] = 0xD8, noise[2] = 0xFF;  // looks like a JPEG, is not one
            EXPECT_TRUE(decode_picture(noise, QSize(80, 60)).isNull());
        }
    }
    // Flipped bytes inside a real picture: either rejected or a picture of the right size.
    const Bytes good = tb::test::encode_jpeg(tb::test::make_page_image(300, 200));
    for (int i = 0; i < 100; ++i) {
        Bytes bad = good;
        for (int k = 0; k < 4; ++k) bad[rng() % bad.size()] ^= static_cast<std::uint8_t>(1 + rng() % 255);
        QImage img = decode_picture(bad, QSize(150, 100));
        if (!img.isNull()) {
            EXPECT_EQ(img.size(), QSize(150, 100));
        }
    }
}

TEST(PicturesFormats, FormatIsToldFromTheBytes) {
    using tb::media::sniff_picture;
    EXPECT_EQ(sniff_picture(page_jpeg()), PictureFormat::Jpeg);
    EXPECT_EQ(sniff_picture(kOneFrameGif), PictureFormat::Gif);
    EXPECT_EQ(sniff_picture(save_with_qt(solid(4, 4, Qt::red), "BMP")), PictureFormat::Bmp);
    // Qt could read a PNG, but the program carries none: it is not a picture here.
    Bytes png = save_with_qt(solid(4, 4, Qt::red), "PNG");
    EXPECT_EQ(sniff_picture(png), PictureFormat::Unknown);
    EXPECT_TRUE(decode_picture(png).isNull());
    EXPECT_EQ(sniff_picture(Bytes{'G', 'I', 'F'}), PictureFormat::Unknown);
}

TEST(PicturesFormats, BmpDecodesAndScales) {
    QImage src = solid(30, 20, QColor(20, 120, 220));
    src.setPixelColor(0, 0, QColor(250, 10, 10));
    const Bytes bmp = save_with_qt(src, "BMP");
    PictureInfo info;
    QImage full = decode_picture(bmp, QSize(), &info);
    ASSERT_EQ(full.size(), QSize(30, 20));
    EXPECT_EQ(info.format, PictureFormat::Bmp);
    EXPECT_EQ(full.pixelColor(0, 0), QColor(250, 10, 10));
    EXPECT_EQ(full.pixelColor(10, 10), QColor(20, 120, 220));
    EXPECT_EQ(decode_picture(bmp, QSize(60, 10)).size(), QSize(60, 10));
    EXPECT_FALSE(tb::media::is_animated(bmp));
    Bytes cut(bmp.begin(), bmp.begin() + 20);
    EXPECT_TRUE(decode_picture(cut).isNull());
}

TEST(PicturesFormats, SingleFrameGifIsAStillPicture) {
    QImage img = decode_picture(kOneFrameGif);
    ASSERT_EQ(img.size(), QSize(2, 1));
    EXPECT_EQ(img.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(1, 0), QColor(0, 0, 255));
    EXPECT_FALSE(tb::media::is_animated(kOneFrameGif));
    EXPECT_TRUE(decode_picture(Bytes(kOneFrameGif.begin(), kOneFrameGif.begin() + 12)).isNull());
}

TEST(PicturesFormats, MoviesOnlyForGifs) {
    QObject owner;
    QMovie* movie = tb::media::open_movie(kOneFrameGif, &owner);
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->parent(), &owner);
    EXPECT_EQ(tb::media::open_movie(page_jpeg()), nullptr);
    EXPECT_EQ(tb::media::open_movie(Bytes{}), nullptr);
    EXPECT_FALSE(tb::media::is_animated(page_jpeg()));
    EXPECT_FALSE(tb::media::is_animated(Bytes{}));
}

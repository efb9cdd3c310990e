// Pictures on a high-density screen: decoded for the device pixels they cover, not enlarged.
// The test program runs these once as it is and once more under QT_SCALE_FACTOR=2 (a ctest
// entry of its own), where every logical pixel is two device pixels across.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <cstdlib>

#include "ui/widgets/pictures/pictures.hpp"
#include "support/picture_samples.hpp"
#include "support/widget_fixture.hpp"
#include "ui/widgets/controls.hpp"

using namespace tb;
using namespace tb::ui;
using tb::test::unit_spec;
using tb::test::window_spec;
using tb::ui::detail::device_pixel_size;

namespace {

constexpr std::uint32_t kWin = 0x52000700;
constexpr std::uint32_t kPage = 0x16000701;
constexpr std::uint32_t kButton = 0x16000702;
constexpr QSize kPageBox(400, 288);
constexpr QSize kButtonBox(80, 40);

// The largest difference of one colour channel between two images of one size.
int max_channel_difference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

class HighDensity : public tb::test::WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        // A page of text lines: fine detail that an enlarged small decode would blur.
        page_bytes_ = tb::test::encode_jpeg(tb::test::make_page_image(1059, 763), 92);
        auto w = window_spec(kWin, 500, 400);
        auto page = unit_spec(kPage, UnitType::PicBox, "图片框底图1", 0, {0, 0, kPageBox.width(), kPageBox.height()});
        PicBoxBlock pb;
        pb.display_mode = 1;
        pb.picture = Blob(page_bytes_.begin(), page_bytes_.end());
        page.type_block = encode(pb);
        w.units.push_back(page);
        auto btn = unit_spec(kButton, UnitType::SuperBtn, "超级按钮_下一页", 0, {400, 340, kButtonBox.width(), kButtonBox.height()});
        SuperBtnBlock sb;
        sb.picture0 = pb.picture;
        btn.type_block = encode(sb);
        w.units.push_back(btn);
        load({w});
        ASSERT_TRUE(show_window(kWin, false));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(control(kWin, 0)));
    }
    // What the unit draws, at the screen's device pixels.
    QImage drawn(std::uint32_t unit) { return control(kWin, unit)->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The page decoded straight at a size.
    QImage decoded_at(QSize pixels) {
        return media::decode_picture(page_bytes_, pixels).convertToFormat(QImage::Format_RGB32);
    }
    qreal ratio() const { return qApp->devicePixelRatio(); }

    std::vector<std::uint8_t> page_bytes_;
};

}  // namespace

TEST(HighDensityPixels, ABoxCoversItsSizeTimesTheRatioRoundedUp) {
    EXPECT_EQ(device_pixel_size(QSize(800, 540), 1.0), QSize(800, 540));
    EXPECT_EQ(device_pixel_size(QSize(800, 540), 2.0), QSize(1600, 1080));
    EXPECT_EQ(device_pixel_size(QSize(27, 15), 1.5), QSize(41, 23));  // 40.5 x 22.5: never fewer pixels
    EXPECT_EQ(device_pixel_size(QSize(40, 30), 1.25), QSize(50, 38));
    EXPECT_EQ(device_pixel_size(QSize(), 2.0), QSize());  // no box yet: the picture's own size
    EXPECT_EQ(device_pixel_size(QSize(40, 30), 0.0), QSize(40, 30));  // a nonsense ratio changes nothing
}

TEST_F(HighDensity, TheScreenRatioIsTheScaleFactorAsked) {
    const char* factor = std::getenv("QT_SCALE_FACTOR");
    EXPECT_DOUBLE_EQ(ratio(), factor ? std::atof(factor) : 1.0);
    EXPECT_DOUBLE_EQ(control(kWin, kPage)->devicePixelRatioF(), ratio());
}

TEST_F(HighDensity, APagePictureIsDecodedForTheDevicePixelsOfItsBox) {
    const QSize pixels = device_pixel_size(kPageBox, ratio());
    QImage shown = drawn(kPage);
    ASSERT_EQ(shown.size(), pixels);
    // Pixel for pixel the picture decoded at the device size: not a smaller decode enlarged.
    EXPECT_LE(max_channel_difference(shown, decoded_at(pixels)), 2);
    if (ratio() > 1) {
        QImage enlarged = decoded_at(kPageBox).scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_GT(max_channel_difference(shown, enlarged), 40);
    }
    // The window keeps its layout in logical pixels.
    EXPECT_EQ(control(kWin, kPage)->geometry(), QRect(QPoint(0, 0), kPageBox));
}

TEST_F(HighDensity, APictureButtonIsDecodedForTheDevicePixelsOfItsFace) {
    const QSize pixels = device_pixel_size(kButtonBox, ratio());
    QImage shown = drawn(kButton);
    ASSERT_EQ(shown.size(), pixels);
    EXPECT_LE(max_channel_difference(shown, decoded_at(pixels)), 2);
    EXPECT_EQ(control(kWin, kButton)->geometry(), QRect(QPoint(400, 340), kButtonBox));
}

// The baked pictures: present, of the sizes the windows lay them out at, and the marks carried
// inside the program.
#include <gtest/gtest.h>

#include <QImage>
#include <QMovie>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/layout/paper.hpp"
#include "ui/widgets/pictures/pictures.hpp"
#include "runtime/embedded.hpp"

using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes baked(const std::string& name) {
    std::ifstream in(std::string(TAPBOOK_BINARY_DIR) + "/assets/pictures/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

QSize size_of(const std::string& name) {
    Bytes b = baked(name);
    EXPECT_FALSE(b.empty()) << name;
    return tb::media::decode_picture(b).size();
}

}  // namespace

TEST(PicturesBaked, WindowPicturesHaveTheirSizes) {
    EXPECT_EQ(size_of("cover.jpg"), QSize(1074, 1536));
    EXPECT_EQ(size_of("button-start-0.jpg"), QSize(100, 40));
    EXPECT_EQ(size_of("button-start-1.jpg"), QSize(100, 40));
    EXPECT_EQ(size_of("drill-background.jpg"), QSize(800, 560));
    EXPECT_EQ(size_of("fillin-background.jpg"), QSize(800, 600));
    EXPECT_EQ(size_of("ordering-background.jpg"), QSize(800, 600));
    for (const char* b : {"drill-start", "drill-again", "drill-next", "drill-ok", "drill-exit"})
        for (int s = 0; s < 3; ++s) EXPECT_EQ(size_of(std::string(b) + "-" + std::to_string(s) + ".jpg"), QSize(60, 40)) << b;
    const std::pair<const char*, QSize> fillin[] = {
        {"fillin-next", {104, 40}}, {"fillin-answer", {60, 40}}, {"fillin-ok", {60, 40}}, {"fillin-exit", {40, 40}}};
    for (const auto& [b, size] : fillin)
        for (int s = 0; s < 2; ++s) EXPECT_EQ(size_of(std::string(b) + "-" + std::to_string(s) + ".jpg"), size) << b;
    for (const char* b : {"ordering-start", "ordering-redo", "ordering-submit", "ordering-answer", "ordering-close"})
        for (int s = 0; s < 2; ++s) EXPECT_EQ(size_of(std::string(b) + "-" + std::to_string(s) + ".jpg"), QSize(64, 40)) << b;
    // Hovered and normal states differ.
    EXPECT_NE(baked("button-start-0.jpg"), baked("button-start-1.jpg"));
}

TEST(PicturesBaked, CoverFitsItsBox) {
    tb::media::PictureInfo info;
    QImage img = tb::media::decode_picture(baked("cover.jpg"), QSize(152, 216), &info);
    EXPECT_EQ(img.size(), QSize(152, 216));
    EXPECT_EQ(info.jpeg_scale_num, 2);
}

TEST(PicturesBaked, LoadingMarkLoopsForever) {
    const Bytes gif = baked("loading.gif");
    ASSERT_TRUE(tb::media::is_animated(gif));
    EXPECT_EQ(tb::media::decode_picture(gif).size(), QSize(32, 32));
    QMovie* movie = tb::media::open_movie(gif);
    ASSERT_NE(movie, nullptr);
    EXPECT_GE(movie->frameCount(), 8);
    EXPECT_LE(movie->frameCount(), 12);
    EXPECT_EQ(movie->loopCount(), -1);  // the NETSCAPE2.0 block with a loop count of 0
    ASSERT_TRUE(movie->jumpToFrame(0));
    QImage first = movie->currentImage();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(movie->jumpToNextFrame());
    EXPECT_NE(movie->currentImage(), first);
    delete movie;
}

TEST(PicturesBaked, MarksAreCarriedInsideTheProgram) {
    const auto right = tb::embedded_blob("mark-right");
    const auto wrong = tb::embedded_blob("mark-wrong");
    ASSERT_FALSE(right.empty());
    ASSERT_FALSE(wrong.empty());
    EXPECT_EQ(Bytes(right.begin(), right.end()), baked("mark-right.jpg"));
    EXPECT_EQ(Bytes(wrong.begin(), wrong.end()), baked("mark-wrong.jpg"));

    // A green tick and a red cross on the page's own paper, so no white square shows round them.
    QImage tick = tb::media::decode_picture(right, QSize(20, 20));
    QImage cross = tb::media::decode_picture(wrong, QSize(20, 20));
    ASSERT_EQ(tick.size(), QSize(20, 20));
    ASSERT_EQ(cross.size(), QSize(20, 20));
    // Round its edge a mark is the paper's warm off-white, nearer to it than to white (averaged
    // over the edge: a JPEG's colours ring a little round the strokes).
    const QColor paper = QColor::fromRgb(tb::layout::kPaperRgb);
    for (const QImage* mark : {&tick, &cross}) {
        double r = 0, g = 0, b = 0;
        int n = 0;
        for (int i = 0; i < 20; ++i)
            for (QPoint p : {QPoint(i, 0), QPoint(i, 19), QPoint(0, i), QPoint(19, i)}) {
                const QColor c = mark->pixelColor(p);
                r += c.red(), g += c.green(), b += c.blue(), ++n;
            }
        r /= n, g /= n, b /= n;
        const double to_paper = std::abs(r - paper.red()) + std::abs(g - paper.green()) + std::abs(b - paper.blue());
        const double to_white = (255 - r) + (255 - g) + (255 - b);
        EXPECT_LT(to_paper, to_white) << r << "," << g << "," << b;
    }
    QColor stroke = tick.pixelColor(8, 14);
    EXPECT_GT(stroke.green(), stroke.red() + 60);
    QColor centre = cross.pixelColor(10, 10);
    EXPECT_GT(centre.red(), centre.green() + 80);
}

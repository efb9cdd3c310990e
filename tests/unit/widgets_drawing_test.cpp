// What transparent labels, picture boxes and picture buttons put on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "support/widget_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using namespace tb::test;

namespace {

constexpr std::uint32_t kWin = 0x52000300;
// The test window's units, numbered from the first.
enum : std::uint32_t { kPage = 0x16000001, kLabel, kButton };

int count_pixels(const QImage& img, const std::function<bool(QColor)>& pred) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += pred(img.pixelColor(x, y));
    return n;
}

bool reddish(QColor c) { return c.red() > 180 && c.green() < 90 && c.blue() < 90; }
bool dark(QColor c) { return c.red() < 60 && c.green() < 60 && c.blue() < 60; }

Blob blue_jpeg(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(QColor(20, 40, 230));
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPEG", 90);
    return Blob(bytes.begin(), bytes.end());
}

class WidgetsDrawing : public tb::test::WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        auto w = window_spec(kWin, 400, 300);
        auto page = unit_spec(kPage, UnitType::PicBox, "图片框底图1", 0, {0, 0, 400, 300});
        PicBoxBlock pb;
        pb.display_mode = 1;
        pb.background = 0x00FFFFFF;
        pb.picture = blue_jpeg({1059, 763});  // scaled to the box
        page.type_block = encode(pb);
        w.units.push_back(page);
        auto label = unit_spec(kLabel, UnitType::TransLabel, "透明标签甲", kPage, {20, 20, 300, 60});
        TransLabelBlock tl;
        tl.caption = gbk("■■■ 透明");
        tl.colour = 0x000000FF;  // red
        tl.font = Font{"", 28, true, false, false, false, 0};
        label.type_block = encode(tl);
        w.units.push_back(label);
        auto btn = unit_spec(kButton, UnitType::SuperBtn, "超级按钮_退出", 0, {300, 250, 80, 40});
        SuperBtnBlock sb;
        sb.caption = gbk("退出");
        sb.tooltip = gbk("退出");
        btn.type_block = encode(sb);
        w.units.push_back(btn);
        load({w});
        ASSERT_TRUE(show_window(kWin, false));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(control(kWin, 0)));
    }
    QImage shot() { return control(kWin, 0)->grab().toImage(); }
    // What the window really shows: its backing store after the pending repaints, not a fresh
    // rendering, so an area that was not repainted still holds what was drawn there before.
    QImage on_screen() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        QCoreApplication::processEvents();
        QWidget* w = control(kWin, 0);
        return w->screen()->grabWindow(w->windowHandle()->winId(), 0, 0, w->width(), w->height()).toImage();
    }
    QImage label_area() { return shot().copy(0, 0, 360, 110); }
};

}  // namespace

TEST_F(WidgetsDrawing, PictureIsScaledToTheBoxAndShowsThroughTheLabel) {
    QImage img = shot();
    QColor under = img.pixelColor(390, 5);  // the picture, scaled to fill the box
    EXPECT_LT(under.red(), 60);
    EXPECT_GT(under.blue(), 180);
    // Around the text the label shows the picture, not a background of its own.
    QColor beside = img.pixelColor(318, 78);
    EXPECT_GT(beside.blue(), 180);
    EXPECT_GT(count_pixels(label_area(), reddish), 200);
}

TEST_F(WidgetsDrawing, EmptyCaptionLeavesNoStaleText) {
    ASSERT_GT(count_pixels(label_area(), reddish), 200);
    set_property(kWin, kLabel, prop::kTransCaption, Text());
    EXPECT_EQ(count_pixels(label_area(), reddish), 0);
    set_property(kWin, kLabel, prop::kTransCaption, gbk("■■■"));
    set_property(kWin, kLabel, prop::kLeft, std::int32_t(30));
    set_property(kWin, kLabel, prop::kLeft, std::int32_t(200));  // moved away: nothing left behind
    EXPECT_EQ(count_pixels(shot().copy(0, 0, 195, 110), reddish), 0);
}

TEST_F(WidgetsDrawing, ShadowEffectDrawsABlackCopy) {
    int before = count_pixels(label_area(), dark);
    set_property(kWin, kLabel, prop::kTransEffect, std::int32_t(3));
    EXPECT_GT(count_pixels(label_area(), dark), before + 50);
    set_property(kWin, kLabel, prop::kTransEffect, std::int32_t(0));
    EXPECT_EQ(count_pixels(label_area(), dark), before);
}

TEST_F(WidgetsDrawing, PictureButtonWithoutPictureDrawsItsCaptionAndTooltip) {
    QWidget* b = control(kWin, kButton);
    QImage img = b->grab().toImage();
    EXPECT_GT(count_pixels(img, dark), 10);  // the caption's strokes
    EXPECT_EQ(b->toolTip(), QString::fromUtf8("退出"));
    set_property(kWin, kButton, prop::kBtnTooltip, gbk("退出全屏"));
    EXPECT_EQ(b->toolTip(), QString::fromUtf8("退出全屏"));
}

TEST_F(WidgetsDrawing, ChangedOrMovedLabelLeavesNoStaleTextOnScreen) {
    ASSERT_GT(count_pixels(on_screen().copy(0, 0, 360, 110), reddish), 200);
    set_property(kWin, kLabel, prop::kTransCaption, Text());
    EXPECT_EQ(count_pixels(on_screen().copy(0, 0, 360, 110), reddish), 0);
    set_property(kWin, kLabel, prop::kTransCaption, gbk("■■■"));
    ASSERT_GT(count_pixels(on_screen().copy(0, 0, 360, 110), reddish), 100);
    set_property(kWin, kLabel, prop::kLeft, std::int32_t(-300));  // moved off the window
    EXPECT_EQ(count_pixels(on_screen(), reddish), 0);
    set_property(kWin, kLabel, prop::kLeft, std::int32_t(20));
    set_property(kWin, kLabel, prop::kTransColour, std::int32_t(0x00FF0000));  // blue text now
    EXPECT_EQ(count_pixels(on_screen(), reddish), 0);
    set_property(kWin, kLabel, prop::kVisible, std::int32_t(0));
    set_property(kWin, kLabel, prop::kTransColour, std::int32_t(0x000000FF));
    EXPECT_EQ(count_pixels(on_screen(), reddish), 0);  // hidden: nothing drawn
}

TEST_F(WidgetsDrawing, AnimatedGifPlaysWhileItsSwitchIsOn) {
    QFile f(QStringLiteral(TAPBOOK_BINARY_DIR "/assets/pictures/loading.gif"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    set_property(kWin, kPage, prop::kPicDisplayMode, std::int32_t(0));
    set_property(kWin, kLabel, prop::kVisible, std::int32_t(0));
    set_property(kWin, kPage, prop::kPicPicture, Blob(bytes.begin(), bytes.end()));
    QWidget* box = control(kWin, kPage);
    auto frame = [&] { return box->grab(QRect(0, 0, 32, 32)).toImage(); };
    // Off: the first frame stays.
    QImage still = frame();
    QTest::qWait(300);
    EXPECT_EQ(frame(), still);
    // On: the frames follow each other.
    set_property(kWin, kPage, prop::kPicAnimate, std::int32_t(1));
    EXPECT_EQ(get_int(kWin, kPage, prop::kPicAnimate), 1);
    QImage first = frame();
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame() != first; }, 2000));
    // Off again: it stops.
    set_property(kWin, kPage, prop::kPicAnimate, std::int32_t(0));
    QImage stopped = frame();
    QTest::qWait(300);
    EXPECT_EQ(frame(), stopped);
}

TEST_F(WidgetsDrawing, CaptionIsPlacedByAlignmentAndBrokenIntoLinesByWordWrap) {
    // The red caption's bounding box in window coordinates (the label lies at 20, 20).
    auto text_box = [&] {
        QImage img = shot();
        QRect box;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (reddish(img.pixelColor(x, y))) box |= QRect(x, y, 1, 1);
        return box;
    };
    set_property(kWin, kLabel, prop::kHeight, std::int32_t(150));
    set_property(kWin, kLabel, prop::kTransCaption, gbk("■"));
    QRect top_left = text_box();
    ASSERT_TRUE(top_left.isValid());
    EXPECT_LT(top_left.left(), 20 + 15);
    EXPECT_LT(top_left.top(), 20 + 20);
    set_property(kWin, kLabel, prop::kTransHAlign, std::int32_t(2));
    set_property(kWin, kLabel, prop::kTransVAlign, std::int32_t(2));
    QRect bottom_right = text_box();
    EXPECT_GT(bottom_right.right(), 20 + 300 - 15);
    EXPECT_GT(bottom_right.bottom(), 20 + 150 - 20);
    set_property(kWin, kLabel, prop::kTransHAlign, std::int32_t(1));
    set_property(kWin, kLabel, prop::kTransVAlign, std::int32_t(1));
    QRect centred = text_box();
    EXPECT_NEAR(centred.center().x(), 20 + 150, 8);
    EXPECT_NEAR(centred.center().y(), 20 + 75, 12);
    // Too long for one line: without wrap it stays one line; with wrap it breaks at the label's
    // width and starts at the top whatever the vertical alignment says.
    set_property(kWin, kLabel, prop::kTransHAlign, std::int32_t(0));
    set_property(kWin, kLabel, prop::kTransCaption, gbk("■ ■ ■ ■ ■ ■ ■ ■ ■ ■"));
    QRect one_line = text_box();
    set_property(kWin, kLabel, prop::kTransWrap, std::int32_t(1));
    QRect wrapped = text_box();
    EXPECT_GT(wrapped.height(), one_line.height() * 3 / 2);
    EXPECT_LE(wrapped.right(), 20 + 300);
    EXPECT_LT(wrapped.top(), 20 + 20);
}

namespace {
// The bounding box of the pixels that pass pred.
QRect ink_box(const QImage& img, const std::function<bool(QColor)>& pred) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (pred(img.pixelColor(x, y))) box |= QRect(x, y, 1, 1);
    return box;
}
}  // namespace

TEST_F(WidgetsDrawing, ACaptionLargerThanItsLabelIsDrawnWholeAndTheLabelStaysItsSize) {
    set_property(kWin, kLabel, prop::kWidth, std::int32_t(40));
    set_property(kWin, kLabel, prop::kHeight, std::int32_t(12));
    set_property(kWin, kLabel, prop::kTransCaption, gbk("■■■■■"));
    const QRect drawn = ink_box(on_screen(), reddish);
    EXPECT_GT(drawn.right(), 20 + 40 + 60);  // five squares at 28 points reach far past the label
    EXPECT_GT(drawn.bottom(), 20 + 12 + 5);
    EXPECT_GT(drawn.height(), 25);
    // The unit keeps its geometry, and only the label takes presses.
    EXPECT_EQ(get_int(kWin, kLabel, prop::kWidth), 40);
    EXPECT_EQ(get_int(kWin, kLabel, prop::kHeight), 12);
    QWidget* window = control(kWin, 0);
    EXPECT_EQ(window->childAt(20 + 80, 20 + 6), control(kWin, kPage));
    EXPECT_EQ(window->childAt(20 + 10, 20 + 6), control(kWin, kLabel));
    // Hidden, moved or given a caption that fits, it leaves nothing behind.
    set_property(kWin, kLabel, prop::kVisible, std::int32_t(0));
    EXPECT_EQ(count_pixels(on_screen(), reddish), 0);
    set_property(kWin, kLabel, prop::kVisible, std::int32_t(1));
    EXPECT_GT(ink_box(on_screen(), reddish).right(), 20 + 40 + 60);
    set_property(kWin, kLabel, prop::kLeft, std::int32_t(200));
    EXPECT_GE(ink_box(on_screen(), reddish).left(), 200);
    set_property(kWin, kLabel, prop::kWidth, std::int32_t(300));
    set_property(kWin, kLabel, prop::kHeight, std::int32_t(60));
    set_property(kWin, kLabel, prop::kTransCaption, gbk("■"));
    const QRect small = ink_box(on_screen(), reddish);
    EXPECT_LT(small.right(), 200 + 60);
}

TEST_F(WidgetsDrawing, AFiveCharacterCaptionOnAToolbarButtonGoesOntoTwoReadableLines) {
    set_property(kWin, kButton, prop::kWidth, std::int32_t(40));
    set_property(kWin, kButton, prop::kHeight, std::int32_t(30));
    QWidget* b = control(kWin, kButton);
    auto caption_box = [&] { return ink_box(b->grab().toImage().copy(1, 1, 38, 28), dark); };
    set_property(kWin, kButton, prop::kBtnCaption, gbk("练一练"));
    const QRect one = caption_box();
    set_property(kWin, kButton, prop::kBtnCaption, gbk("中文翻译关"));
    const QRect two = caption_box();
    ASSERT_TRUE(one.isValid());
    ASSERT_TRUE(two.isValid());
    // Two lines, each about as large as the three-character caption on its single line.
    EXPECT_GT(two.height(), 2 * one.height() - 4);
    EXPECT_GE(two.width(), one.width() - 2);
}

namespace {
class EditBoxText : public tb::test::WidgetTest {};
}  // namespace

// The Chinese faces' lines are taller than a page fill-in box: the typed letters must still show
// whole, descenders included.
TEST_F(EditBoxText, DescendersShowWholeInABoxLowerThanTheFacesLine) {
    constexpr std::uint32_t kEdit = 0x16000010;
    auto w = window_spec(kWin, 400, 300);
    auto edit = unit_spec(kEdit, UnitType::EditBox, "编辑框6_1", 0, {20, 20, 110, 24});
    EditBoxBlock eb;
    eb.border = 1;
    eb.text_colour = 0x00000000;
    eb.background = 0x00FFFFFF;
    eb.font = Font{gbk("宋体"), 15, false, false, false, false, 0};
    edit.type_block = encode(eb);
    w.units.push_back(edit);
    load({w});
    ASSERT_TRUE(show_window(kWin, false));
    set_property(kWin, kEdit, prop::kEditContent, gbk("gjpqy"));
    QWidget* box = control(kWin, kEdit);
    ASSERT_GT(QFontMetrics(box->font()).height(), 24 - 4) << "the face's line must be taller than the box for this test";
    const QRect drawn = ink_box(box->grab().toImage(), dark);
    // The same letters drawn freely in the same face.
    QImage free_image(200, 100, QImage::Format_RGB32);
    free_image.fill(Qt::white);
    {
        QPainter p(&free_image);
        p.setFont(box->font());
        p.setPen(Qt::black);
        p.drawText(QPointF(10, 60), QStringLiteral("gjpqy"));
    }
    const QRect whole = ink_box(free_image, dark);
    EXPECT_GE(drawn.height(), whole.height() - 1);
    EXPECT_LT(drawn.bottom(), 24 - 1);  // clear of the frame
    EXPECT_GT(drawn.top(), 0);
}

// Draws Tapbook's own pictures that are not page pictures and writes them as JPEG and GIF files:
//   picture_bake <output folder>
// Everything here is drawn from simple shapes with calm colours that read well for children.
#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <gif_lib.h>
#include <jpeglib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/layout/paper.hpp"

namespace {

std::string g_out;  // output folder

const char* const kFamily = "Noto Sans CJK SC";

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "picture_bake: %s\n", what.c_str());
    std::exit(1);
}

std::string out_path(const std::string& name) { return g_out + "/" + name; }

// ---------------------------------------------------------------- writers

// Writes a JPEG. Photos and large drawings use 4:2:0; small icons and captions keep full colour
// resolution (4:4:4) so red and green edges stay crisp. The default error handler is fine in a
// build tool: it reports and ends the bake with a failure.
void write_jpeg(const QImage& image, const std::string& name, int quality, bool full_chroma) {
    QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::string path = out_path(name);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) fail("cannot write " + path);
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = static_cast<JDIMENSION>(rgb.width());
    c.image_height = static_cast<JDIMENSION>(rgb.height());
    c.input_components = 4;
    c.in_color_space = JCS_EXT_BGRX;  // QImage::Format_RGB32 in memory on little-endian machines
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    c.optimize_coding = TRUE;
    if (full_chroma) {
        c.comp_info[0].h_samp_factor = 1;
        c.comp_info[0].v_samp_factor = 1;
    }
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    if (std::fclose(f) != 0) fail("cannot finish " + path);
}

// Writes an endlessly looping GIF from frames that hold palette indices (one byte a pixel).
void write_gif(const std::vector<std::vector<GifByteType>>& frames, int width, int height,
               const std::vector<QColor>& palette, int delay_cs, const std::string& name) {
    std::string path = out_path(name);
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif) fail("cannot write " + path + ": " + GifErrorString(error));
    std::vector<GifColorType> colours;
    for (const QColor& c : palette)
        colours.push_back({static_cast<GifByteType>(c.red()), static_cast<GifByteType>(c.green()),
                           static_cast<GifByteType>(c.blue())});
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
    if (!map) fail("bad GIF palette size");
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK;
    // The application extension that makes viewers loop forever (loop count 0).
    static const GifByteType kNetscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static const GifByteType kLoop[] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK;
    ok = ok && EGifPutExtensionBlock(gif, sizeof kNetscape, kNetscape) == GIF_OK;
    ok = ok && EGifPutExtensionBlock(gif, sizeof kLoop, kLoop) == GIF_OK;
    ok = ok && EGifPutExtensionTrailer(gif) == GIF_OK;
    for (const auto& frame : frames) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSE_DO_NOT;
        gcb.DelayTime = delay_cs;
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext) == GIF_OK;
        ok = ok && EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
        for (int y = 0; ok && y < height; ++y)
            ok = EGifPutLine(gif, const_cast<GifByteType*>(frame.data()) + y * width, width) == GIF_OK;
    }
    GifFreeMapObject(map);
    if (!ok) fail("cannot encode " + path + ": " + GifErrorString(gif->Error));
    if (EGifCloseFile(gif, &error) != GIF_OK) fail("cannot finish " + path + ": " + GifErrorString(error));
    // giflib creates its files readable by the owner only.
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);
}

// ---------------------------------------------------------------- drawing helpers

QImage canvas(int w, int h, QColor fill) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QFont font_px(double px, int weight = QFont::Bold) {
    QFont f(kFamily);
    f.setPixelSize(static_cast<int>(std::lround(px)));
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// The largest font (up to max_px) whose caption fits into the given width.
QFont fitting_font(const QString& text, double max_px, double width) {
    for (double px = max_px; px > 6; px -= 0.5) {
        QFont f = font_px(px);
        if (QFontMetricsF(f).horizontalAdvance(text) <= width) return f;
    }
    return font_px(6);
}

QColor mix(QColor a, QColor b, double t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

void draw_cloud(QPainter& p, QPointF c, double s, QColor colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(c, 60 * s, 38 * s);
    p.drawEllipse(c + QPointF(-55 * s, 12 * s), 42 * s, 28 * s);
    p.drawEllipse(c + QPointF(58 * s, 10 * s), 46 * s, 30 * s);
    p.drawEllipse(c + QPointF(10 * s, 22 * s), 70 * s, 24 * s);
}

void draw_tree(QPainter& p, QPointF base, double s) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9a, 0x72, 0x50));
    p.drawRoundedRect(QRectF(base.x() - 9 * s, base.y() - 70 * s, 18 * s, 70 * s), 5 * s, 5 * s);
    p.setBrush(QColor(0x6f, 0xb8, 0x6a));
    p.drawEllipse(base + QPointF(0, -105 * s), 52 * s, 50 * s);
    p.setBrush(QColor(0x86, 0xc8, 0x7c));
    p.drawEllipse(base + QPointF(-14 * s, -118 * s), 30 * s, 28 * s);
}

// A child as simple shapes: round head, a rounded coat, arms and legs.
void draw_child(QPainter& p, QPointF feet, double s, QColor coat, QColor hair, bool waving) {
    QColor skin(0xf6, 0xd2, 0xb0);
    QPen limb(QColor(0x5a, 0x4a, 0x42), 9 * s, Qt::SolidLine, Qt::RoundCap);
    p.setPen(limb);
    p.drawLine(feet + QPointF(-12 * s, 0), feet + QPointF(-10 * s, -50 * s));
    p.drawLine(feet + QPointF(12 * s, 0), feet + QPointF(10 * s, -50 * s));
    QPen arm(skin.darker(110), 9 * s, Qt::SolidLine, Qt::RoundCap);
    p.setPen(arm);
    p.drawLine(feet + QPointF(-26 * s, -110 * s), feet + QPointF(-46 * s, -70 * s));
    if (waving)
        p.drawLine(feet + QPointF(26 * s, -110 * s), feet + QPointF(50 * s, -155 * s));
    else
        p.drawLine(feet + QPointF(26 * s, -110 * s), feet + QPointF(46 * s, -70 * s));
    p.setPen(Qt::NoPen);
    p.setBrush(coat);
    QPainterPath body;
    body.moveTo(feet + QPointF(-24 * s, -125 * s));
    body.lineTo(feet + QPointF(24 * s, -125 * s));
    body.lineTo(feet + QPointF(34 * s, -48 * s));
    body.lineTo(feet + QPointF(-34 * s, -48 * s));
    body.closeSubpath();
    p.drawPath(body);
    p.drawRoundedRect(QRectF(feet.x() - 26 * s, feet.y() - 132 * s, 52 * s, 30 * s), 14 * s, 14 * s);
    p.setBrush(skin);
    QPointF head = feet + QPointF(0, -160 * s);
    p.drawEllipse(head, 30 * s, 30 * s);
    p.setBrush(hair);
    p.drawChord(QRectF(head.x() - 31 * s, head.y() - 33 * s, 62 * s, 50 * s), 0, 180 * 16);
    p.setBrush(QColor(0x3c, 0x32, 0x2d));
    p.drawEllipse(head + QPointF(-10 * s, 4 * s), 3.5 * s, 3.5 * s);
    p.drawEllipse(head + QPointF(10 * s, 4 * s), 3.5 * s, 3.5 * s);
    p.setPen(QPen(QColor(0xc8, 0x5a, 0x50), 3 * s, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(head.x() - 10 * s, head.y() + 2 * s, 20 * s, 14 * s), 200 * 16, 140 * 16);
}

void draw_school(QPainter& p, QPointF base, double s) {
    // Walls, roof, door, windows, a small bell tower with a flag.
    QRectF walls(base.x() - 190 * s, base.y() - 200 * s, 380 * s, 200 * s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf7, 0xe6, 0xc8));
    p.drawRect(walls);
    QRectF tower(base.x() - 45 * s, base.y() - 300 * s, 90 * s, 110 * s);
    p.drawRect(tower);
    p.setBrush(QColor(0xd9, 0x7b, 0x6c));
    QPolygonF roof;
    roof << QPointF(walls.left() - 30 * s, walls.top()) << QPointF(walls.right() + 30 * s, walls.top())
         << QPointF(walls.right() - 40 * s, walls.top() - 70 * s) << QPointF(walls.left() + 40 * s, walls.top() - 70 * s);
    p.drawPolygon(roof);
    QPolygonF tower_roof;
    tower_roof << QPointF(tower.left() - 18 * s, tower.top()) << QPointF(tower.right() + 18 * s, tower.top())
               << QPointF(base.x(), tower.top() - 70 * s);
    p.drawPolygon(tower_roof);
    // Flag.
    p.setPen(QPen(QColor(0x7a, 0x6a, 0x60), 5 * s));
    p.drawLine(QPointF(base.x(), tower.top() - 70 * s), QPointF(base.x(), tower.top() - 140 * s));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xa3, 0x4b));
    QPolygonF flag;
    flag << QPointF(base.x(), tower.top() - 140 * s) << QPointF(base.x() + 55 * s, tower.top() - 125 * s)
         << QPointF(base.x(), tower.top() - 108 * s);
    p.drawPolygon(flag);
    // Round window in the tower, a clock-like circle.
    p.setBrush(QColor(0xfd, 0xfa, 0xf2));
    p.drawEllipse(QPointF(base.x(), tower.top() + 45 * s), 24 * s, 24 * s);
    p.setPen(QPen(QColor(0x8a, 0x6a, 0x55), 4 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(base.x(), tower.top() + 45 * s), QPointF(base.x(), tower.top() + 30 * s));
    p.drawLine(QPointF(base.x(), tower.top() + 45 * s), QPointF(base.x() + 11 * s, tower.top() + 45 * s));
    p.setPen(Qt::NoPen);
    // Door.
    p.setBrush(QColor(0x8f, 0x6b, 0x50));
    p.drawRoundedRect(QRectF(base.x() - 32 * s, base.y() - 110 * s, 64 * s, 110 * s), 10 * s, 10 * s);
    // Windows.
    for (int side : {-1, 1}) {
        for (int k = 0; k < 2; ++k) {
            double cx = base.x() + side * (85 + k * 60) * s;
            QRectF w(cx - 22 * s, base.y() - 150 * s, 44 * s, 48 * s);
            p.setBrush(QColor(0xbf, 0xe2, 0xf4));
            p.drawRect(w);
            p.setPen(QPen(QColor(0xfd, 0xfa, 0xf2), 4 * s));
            p.drawLine(QPointF(cx, w.top()), QPointF(cx, w.bottom()));
            p.drawLine(QPointF(w.left(), w.center().y()), QPointF(w.right(), w.center().y()));
            p.setPen(Qt::NoPen);
        }
    }
}

void draw_sun(QPainter& p, QPointF c, double r) {
    p.setPen(QPen(QColor(0xff, 0xd2, 0x6a), r * 0.12, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        double a = i * M_PI / 6;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * r * 1.25, c + QPointF(std::cos(a), std::sin(a)) * r * 1.6);
    }
    p.setPen(Qt::NoPen);
    QRadialGradient g(c, r);
    g.setColorAt(0, QColor(0xff, 0xe8, 0x8f));
    g.setColorAt(1, QColor(0xff, 0xcc, 0x55));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

// ---------------------------------------------------------------- the pictures

void bake_cover() {
    const int W = 1074, H = 1536;
    QImage img = canvas(W, H, Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, H);
    sky.setColorAt(0, QColor(0xfd, 0xf7, 0xe8));
    sky.setColorAt(0.38, QColor(0xe4, 0xf3, 0xfb));
    sky.setColorAt(0.75, QColor(0xc9, 0xe7, 0xf6));
    p.fillRect(img.rect(), sky);

    // Title panel.
    QRectF panel(70, 80, W - 140, 430);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 215));
    p.drawRoundedRect(panel, 48, 48);
    p.setBrush(QColor(0x6c, 0xb4, 0xe0));
    p.drawRoundedRect(QRectF(panel.left() + 60, panel.top() + 300, panel.width() - 120, 12), 6, 6);
    p.setPen(QColor(0x2f, 0x6f, 0xa8));
    p.setFont(font_px(190));
    p.drawText(QRectF(panel.left(), panel.top() + 20, panel.width(), 270), Qt::AlignCenter, "English");
    p.setPen(QColor(0x4a, 0x5a, 0x66));
    p.setFont(font_px(72, QFont::Medium));
    p.drawText(QRectF(panel.left(), panel.top() + 318, panel.width(), 100), Qt::AlignCenter, "Tapbook Reader");

    // Illustration.
    draw_sun(p, QPointF(860, 660), 85);
    draw_cloud(p, QPointF(260, 640), 1.3, QColor(255, 255, 255, 235));
    draw_cloud(p, QPointF(640, 770), 0.9, QColor(255, 255, 255, 220));

    // A hill: its ridge across the picture, filled down to the foot.
    auto hill = [&](QPainterPath ridge, QColor colour) {
        ridge.lineTo(W, H);
        ridge.lineTo(0, H);
        ridge.closeSubpath();
        p.setBrush(colour);
        p.drawPath(ridge);
    };
    p.setPen(Qt::NoPen);
    QPainterPath far_hill;
    far_hill.moveTo(0, 1010);
    far_hill.cubicTo(220, 860, 420, 880, 600, 980);
    far_hill.cubicTo(760, 900, 930, 880, W, 960);
    hill(far_hill, QColor(0xb5, 0xdc, 0x9c));

    draw_school(p, QPointF(600, 1110), 1.0);
    draw_tree(p, QPointF(170, 1120), 1.3);
    draw_tree(p, QPointF(950, 1110), 1.0);

    QPainterPath near_hill;
    near_hill.moveTo(0, 1100);
    near_hill.cubicTo(300, 1060, 700, 1150, W, 1080);
    hill(near_hill, QColor(0x91, 0xcb, 0x7f));

    // A path from the school door towards the children.
    QPainterPath path;
    path.moveTo(570, 1110);
    path.cubicTo(560, 1200, 420, 1260, 400, H);
    path.lineTo(720, H);
    path.cubicTo(690, 1280, 640, 1200, 630, 1110);
    path.closeSubpath();
    p.setBrush(QColor(0xf0, 0xe2, 0xc4));
    p.drawPath(path);

    // Flowers.
    const QColor petals[] = {QColor(0xf4, 0x9a, 0xa8), QColor(0xff, 0xd2, 0x6a), QColor(0xb9, 0xa6, 0xe8)};
    for (int i = 0; i < 14; ++i) {
        double x = 40 + (i * 173) % (W - 80);
        double y = 1180 + (i * 97) % 300;
        if (x > 380 && x < 740) continue;
        p.setBrush(petals[i % 3]);
        for (int k = 0; k < 5; ++k) {
            double a = k * 2 * M_PI / 5;
            p.drawEllipse(QPointF(x + std::cos(a) * 10, y + std::sin(a) * 10), 8, 8);
        }
        p.setBrush(QColor(0xff, 0xf4, 0xd0));
        p.drawEllipse(QPointF(x, y), 6, 6);
    }

    draw_child(p, QPointF(250, 1420), 1.15, QColor(0xf2, 0x8c, 0x6b), QColor(0x4a, 0x36, 0x2c), true);
    draw_child(p, QPointF(830, 1400), 1.1, QColor(0x6f, 0xa8, 0xdc), QColor(0x2f, 0x28, 0x24), false);
    draw_child(p, QPointF(960, 1440), 0.9, QColor(0xb3, 0x9d, 0xdb), QColor(0x5a, 0x40, 0x30), true);

    // Bottom band with the volume line.
    p.setBrush(QColor(0x5d, 0xa3, 0xd6));
    p.drawRect(QRectF(0, H - 70, W, 70));
    p.setPen(Qt::white);
    p.setFont(font_px(40, QFont::Medium));
    p.drawText(QRectF(0, H - 70, W, 70), Qt::AlignCenter, QString::fromUtf8("点读样书 · Sample Book"));
    p.end();
    write_jpeg(img, "cover.jpg", 88, false);
}

// A rotating ring of twelve dots, the bright one leading a fading tail.
void bake_loading() {
    const int W = 32, H = 32, frames = 12, levels = 64;
    const QColor bg(0xef, 0xef, 0xef);  // the group box it sits on
    const QColor dot(0x3d, 0x8f, 0xd1);
    std::vector<QColor> palette;
    for (int i = 0; i < levels; ++i) palette.push_back(mix(bg, dot, i / double(levels - 1)));
    std::vector<std::vector<GifByteType>> out;
    for (int f = 0; f < frames; ++f) {
        QImage cover(W, H, QImage::Format_ARGB32_Premultiplied);
        cover.fill(Qt::transparent);
        QPainter p(&cover);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < frames; ++i) {
            int behind = (f - i + frames) % frames;  // 0: the leading dot
            double strength = 1.0 - 0.82 * behind / double(frames - 1);
            double a = i * 2 * M_PI / frames - M_PI / 2;
            double r = 2.0 + 0.7 * strength;
            p.setBrush(QColor(0, 0, 0, static_cast<int>(std::lround(255 * strength))));
            p.drawEllipse(QPointF(16 + 11.5 * std::cos(a), 16 + 11.5 * std::sin(a)), r, r);
        }
        p.end();
        std::vector<GifByteType> idx(W * H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                int alpha = qAlpha(cover.pixel(x, y));
                idx[y * W + x] = static_cast<GifByteType>(std::lround(alpha / 255.0 * (levels - 1)));
            }
        out.push_back(std::move(idx));
    }
    write_gif(out, W, H, palette, 8, "loading.gif");
}

void bake_marks() {
    {
        QImage img = canvas(20, 20, QColor::fromRgb(tb::layout::kPaperRgb));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x2e, 0x9e, 0x4a), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygonF tick;
        tick << QPointF(3.5, 10.5) << QPointF(8, 15) << QPointF(16.5, 4.5);
        p.drawPolyline(tick);
        p.end();
        write_jpeg(img, "mark-right.jpg", 92, true);
    }
    {
        QImage img = canvas(20, 20, QColor::fromRgb(tb::layout::kPaperRgb));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0xd6, 0x45, 0x45), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(15, 15));
        p.drawLine(QPointF(15, 5), QPointF(5, 15));
        p.end();
        write_jpeg(img, "mark-wrong.jpg", 92, true);
    }
}

struct ButtonStyle {
    QColor top, bottom;  // the face's gradient in the normal state
    QColor around;       // what the button sits on (shows in the rounded corners)
};

// A picture button state: 0 normal, 1 hovered or pressed (lighter, with a ring), 2 disabled (grey).
void bake_button(const std::string& name, int w, int h, const char* caption_utf8, const ButtonStyle& style, int states) {
    const QString caption = QString::fromUtf8(caption_utf8);
    for (int state = 0; state < states; ++state) {
        QImage img = canvas(w, h, style.around);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        QColor top = style.top, bottom = style.bottom, text = Qt::white;
        if (state == 1) {
            top = mix(top, Qt::white, 0.25);
            bottom = mix(bottom, Qt::white, 0.18);
        } else if (state == 2) {
            top = QColor(0xe2, 0xe4, 0xe6);
            bottom = QColor(0xcc, 0xcf, 0xd2);
            text = QColor(0x84, 0x89, 0x8f);
        }
        QRectF face(1, 1, w - 2, h - 2);
        double radius = std::min(8.0, h / 4.0);
        // A soft shadow under the face.
        p.setPen(Qt::NoPen);
        p.setBrush(mix(style.around, QColor(0x40, 0x40, 0x40), 0.22));
        p.drawRoundedRect(face.translated(0, 1), radius, radius);
        QLinearGradient g(0, 0, 0, h);
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        p.setBrush(g);
        p.setPen(state == 1 ? QPen(QColor(255, 255, 255, 200), 2) : QPen(bottom.darker(115), 1));
        p.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -1), radius, radius);
        // A gloss on the upper half.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, state == 2 ? 30 : 45));
        p.drawRoundedRect(QRectF(3, 3, w - 6, (h - 6) / 2.0), radius - 2, radius - 2);
        QFont f = fitting_font(caption, std::min(16.0, h * 0.42), w - 8);
        p.setFont(f);
        QRectF text_box(0, 0, w, h - 1);
        if (state != 2) {
            p.setPen(QColor(0, 0, 0, 60));
            p.drawText(text_box.translated(0, 1), Qt::AlignCenter, caption);
        }
        p.setPen(text);
        p.drawText(text_box, Qt::AlignCenter, caption);
        p.end();
        write_jpeg(img, name + "-" + std::to_string(state) + ".jpg", 92, true);
    }
}

// Soft shapes along the edges only: the middle stays plain for the units laid over it.
void decorate_edges(QPainter& p, int w, int h, QColor a, QColor b, unsigned seed) {
    p.setPen(Qt::NoPen);
    unsigned s = seed;
    auto next = [&s] { s = s * 1103515245u + 12345u; return (s >> 16) & 0x7fff; };
    for (int i = 0; i < 26; ++i) {
        double x, y;
        int edge = static_cast<int>(next() % 4);
        double t = next() / 32767.0;
        double d = 8 + next() % 30;
        if (edge == 0) { x = t * w; y = d; }
        else if (edge == 1) { x = t * w; y = h - d; }
        else if (edge == 2) { x = d; y = t * h; }
        else { x = w - d; y = t * h; }
        double r = 6 + next() % 16;
        QColor c = (i % 2) ? a : b;
        c.setAlpha(70 + static_cast<int>(next() % 60));
        p.setBrush(c);
        p.drawEllipse(QPointF(x, y), r, r);
    }
}

void bake_background(const std::string& name, int w, int h, QColor top, QColor bottom, QColor dots_a, QColor dots_b,
                     unsigned seed) {
    QImage img = canvas(w, h, top);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(img.rect(), g);
    // Gentle waves at the foot of the picture.
    QPainterPath wave;
    wave.moveTo(0, h - 34);
    for (int x = 0; x <= w; x += 40)
        wave.quadTo(QPointF(x + 20, h - 46 + (x / 40 % 2) * 10), QPointF(x + 40, h - 34));
    wave.lineTo(w, h);
    wave.lineTo(0, h);
    wave.closeSubpath();
    QColor foot = mix(bottom, dots_a, 0.35);
    p.setPen(Qt::NoPen);
    p.setBrush(foot);
    p.drawPath(wave);
    decorate_edges(p, w, h, dots_a, dots_b, seed);
    // A faint frame.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(mix(top, dots_a, 0.45), 3));
    p.drawRoundedRect(QRectF(6, 6, w - 12, h - 12), 18, 18);
    p.end();
    write_jpeg(img, name, 88, false);
}

// The three game windows' pictures: <prefix>-<button>-<state>.jpg, 40 px high, on the foot colour
// of <prefix>-background.jpg (800 px wide).
struct GameWindow {
    struct Button {
        const char* name;
        int width;
        const char* caption;  // UTF-8
    };
    const char* prefix;
    QColor top, bottom;            // the background's gradient
    QColor face_top, face_bottom;  // the buttons' faces
    int states;                    // 3: the buttons also have a disabled state
    std::vector<Button> buttons;
    int height;
    QColor dots_a, dots_b;         // the background's edge dots
    unsigned seed;
};

const GameWindow kGameWindows[] = {
    {"drill", QColor(0xee, 0xf6, 0xfc), QColor(0xdc, 0xee, 0xf9), QColor(0x72, 0xb0, 0xe0), QColor(0x4a, 0x8c, 0xc7), 3,
     {{"start", 60, "开始"}, {"again", 60, "再听一遍"}, {"next", 60, "下一题"}, {"ok", 60, "确定"}, {"exit", 60, "退出"}},
     560, QColor(0x9c, 0xcb, 0xee), QColor(0xff, 0xd9, 0x8a), 7},
    {"fillin", QColor(0xf4, 0xfa, 0xf0), QColor(0xe2, 0xf2, 0xdc), QColor(0x6c, 0xc0, 0xb6), QColor(0x43, 0x9e, 0x96), 2,
     {{"next", 104, "下一题"}, {"answer", 60, "答案"}, {"ok", 60, "确定"}, {"exit", 40, "退出"}},
     600, QColor(0xa6, 0xd8, 0x9a), QColor(0xf7, 0xc1, 0xa0), 11},
    {"ordering", QColor(0xf8, 0xf4, 0xfc), QColor(0xec, 0xe6, 0xf7), QColor(0xa3, 0x96, 0xdc), QColor(0x7e, 0x71, 0xc2), 2,
     {{"start", 64, "开始"}, {"redo", 64, "重做"}, {"submit", 64, "提交"}, {"answer", 64, "答案"}, {"close", 64, "关闭"}},
     600, QColor(0xc3, 0xb3, 0xec), QColor(0xa8, 0xdc, 0xd2), 23},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: picture_bake <output folder>\n");
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        // Qt wants a private runtime folder and complains without one.
        std::filesystem::path dir = std::filesystem::temp_directory_path() / "tapbook-bake-xdg";
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
        qputenv("XDG_RUNTIME_DIR", dir.string().c_str());
    }
    QGuiApplication app(argc, argv);
    g_out = argv[1];
    if (!QFontInfo(font_px(16)).family().contains("CJK", Qt::CaseInsensitive))
        std::fprintf(stderr, "picture_bake: warning: %s not found, captions fall back to another font\n", kFamily);
    std::filesystem::create_directories(g_out);

    bake_cover();
    bake_loading();
    bake_marks();

    const ButtonStyle welcome{QColor(0x74, 0xc6, 0x8c), QColor(0x4f, 0xa8, 0x6a), QColor(0xef, 0xef, 0xef)};
    bake_button("button-start", 100, 40, "开始学习", welcome, 2);

    for (const GameWindow& g : kGameWindows) {
        const ButtonStyle style{g.face_top, g.face_bottom, g.bottom};
        for (const GameWindow::Button& b : g.buttons)
            bake_button(std::string(g.prefix) + "-" + b.name, b.width, 40, b.caption, style, g.states);
        bake_background(std::string(g.prefix) + "-background.jpg", 800, g.height, g.top, g.bottom, g.dots_a, g.dots_b, g.seed);
    }
    return 0;
}

#pragma once
// Sample pictures for picture tests and benchmarks: a JPEG encoder over libjpeg-turbo and a
// page-like picture (text lines and simple drawings on a light background, optionally with the
// grain of a scanned page). Needs a QGuiApplication for the text.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include <jpeglib.h>

namespace tb::test {

inline std::vector<std::uint8_t> encode_jpeg(const QImage& image, int quality = 88) {
    QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long out_size = 0;
    jpeg_mem_dest(&c, &out, &out_size);
    c.image_width = static_cast<JDIMENSION>(rgb.width());
    c.image_height = static_cast<JDIMENSION>(rgb.height());
    c.input_components = 4;
    c.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<std::uint8_t> bytes(out, out + out_size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return bytes;
}

// A textbook spread: two pages of text lines, headings and coloured drawings. Its left half holds
// a large red panel at 10%..30% across and 60%..90% down (for colour checks after scaling).
inline QImage make_page_image(int width = 2118, int height = 1526, int grain = 0, unsigned seed = 1) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(QColor(0xfb, 0xf8, 0xf0));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double sx = width / 2118.0, sy = height / 1526.0;
    p.scale(sx, sy);
    p.setPen(QPen(QColor(0xdd, 0xd6, 0xc8), 4));
    p.drawLine(1059, 0, 1059, 1526);
    const char* lines[] = {"Good morning, Miss Lin.", "This is my new pencil box.", "Can you see the red kite?",
                           "We like to play in the park.", "How many apples? Seven!", "Let's sing a song together."};
    for (int page = 0; page < 2; ++page) {
        const double x0 = page * 1059 + 70;
        p.setPen(QColor(0x2f, 0x5f, 0x9a));
        QFont heading;
        heading.setPixelSize(70);
        heading.setBold(true);
        p.setFont(heading);
        p.drawText(QPointF(x0, 130), page == 0 ? "Unit 3  At school" : "Let's talk");
        QFont body;
        body.setPixelSize(44);
        p.setFont(body);
        p.setPen(QColor(0x30, 0x30, 0x30));
        for (int i = 0; i < 6; ++i) p.drawText(QPointF(x0 + (page ? 420 : 0), 240 + i * 80), lines[(i + page) % 6]);
        // Drawings: a sun, a house, balloons, a tree.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xff, 0xd2, 0x6a));
        p.drawEllipse(QPointF(x0 + 700 - page * 600, 1050), 90, 90);
        p.setBrush(QColor(0x7f, 0xc2, 0x7a));
        p.drawEllipse(QPointF(x0 + 830 - page * 600, 1250), 120, 150);
        p.setBrush(QColor(0x6c, 0xa8, 0xdc));
        p.drawRoundedRect(QRectF(x0 + (page ? 560 : 0) + 40, 760, 300, 180), 30, 30);
        for (int b = 0; b < 4; ++b) {
            p.setBrush(QColor::fromHsv((b * 70 + page * 30) % 360, 120, 240));
            p.drawEllipse(QPointF(x0 + 500 + b * 70 - page * 400, 820 + (b % 2) * 50), 30, 38);
        }
    }
    p.resetTransform();
    p.setBrush(QColor(0xd8, 0x30, 0x30));
    p.drawRect(QRectF(0.10 * width, 0.60 * height, 0.20 * width, 0.30 * height));
    p.end();
    if (grain > 0) {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> d(-grain, grain);
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < width; ++x) {
                int n = d(rng);
                auto c = [n](int v) { return std::clamp(v + n, 0, 255); };
                row[x] = qRgb(c(qRed(row[x])), c(qGreen(row[x])), c(qBlue(row[x])));
            }
        }
    }
    return img;
}

}  // namespace tb::test

// Painting a spread: paper, bands, printed text, bubbles, cards, gaps, squares and the simple
// drawings of the marker items, all in box coordinates.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <cmath>
#include <functional>

#include "tools/layout/fonts.hpp"
#include "tools/layout/layout.hpp"

namespace tb::layout {
namespace {

const QColor kPaper(0xfd, 0xfb, 0xf5);
const QColor kInk(0x33, 0x33, 0x3a);

void draw_text(QPainter& p, const Draw& d) {
    // Drawn with a font kFontScale times larger under a matching scale-down.
    p.save();
    p.translate(d.rect.topLeft());
    p.scale(1.0 / kFontScale, 1.0 / kFontScale);
    p.setFont(page_font(d.role, d.size));
    p.setPen(d.colour);
    QRectF r(0, 0, d.rect.width() * kFontScale + 4 * kFontScale, d.rect.height() * kFontScale);
    if (d.align & Qt::AlignRight) r.moveLeft(-4 * kFontScale);
    p.drawText(r, d.align | Qt::TextSingleLine | Qt::TextDontClip, d.text);
    p.restore();
}

// --- simple pictures, each drawn into a square-ish cell ---

using Shape = std::function<void(QPainter&, const QRectF&)>;

void sun(QPainter& p, const QRectF& r) {
    QPointF c = r.center();
    double rad = std::min(r.width(), r.height()) * 0.22;
    p.setPen(QPen(QColor(0xf2, 0xb1, 0x34), rad * 0.18, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        double a = i * M_PI / 4;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * rad * 1.35, c + QPointF(std::cos(a), std::sin(a)) * rad * 1.9);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf7, 0xc9, 0x48));
    p.drawEllipse(c, rad, rad);
}

void cloud(QPainter& p, const QRectF& r, bool rain) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() - QPointF(0, rain ? s * 0.12 : 0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0xd3, 0xdd));
    p.drawEllipse(c + QPointF(-s * 0.18, 0), s * 0.2, s * 0.16);
    p.drawEllipse(c + QPointF(s * 0.15, 0), s * 0.22, s * 0.17);
    p.drawEllipse(c + QPointF(0, -s * 0.1), s * 0.2, s * 0.18);
    if (rain) {
        p.setPen(QPen(QColor(0x5d, 0x8c, 0xb8), s * 0.03, Qt::SolidLine, Qt::RoundCap));
        for (int i = -2; i <= 2; ++i) p.drawLine(c + QPointF(i * s * 0.1, s * 0.22), c + QPointF(i * s * 0.1 - s * 0.04, s * 0.34));
    }
}

void cat(QPainter& p, const QRectF& r, QColor fur) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() + QPointF(0, s * 0.08);
    p.setPen(QPen(fur.darker(150), s * 0.025));
    p.setBrush(fur);
    QPolygonF ears;
    ears << c + QPointF(-s * 0.26, -s * 0.1) << c + QPointF(-s * 0.2, -s * 0.4) << c + QPointF(-s * 0.05, -s * 0.22);
    p.drawPolygon(ears);
    QPolygonF ears2;
    ears2 << c + QPointF(s * 0.26, -s * 0.1) << c + QPointF(s * 0.2, -s * 0.4) << c + QPointF(s * 0.05, -s * 0.22);
    p.drawPolygon(ears2);
    p.drawEllipse(c, s * 0.3, s * 0.26);
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c + QPointF(-s * 0.11, -s * 0.04), s * 0.035, s * 0.045);
    p.drawEllipse(c + QPointF(s * 0.11, -s * 0.04), s * 0.035, s * 0.045);
    p.setBrush(QColor(0xe0, 0x7a, 0x7a));
    p.drawEllipse(c + QPointF(0, s * 0.06), s * 0.03, s * 0.022);
}

void dog(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() + QPointF(0, s * 0.06);
    QColor fur(0xc8, 0x9b, 0x6a);
    p.setPen(QPen(fur.darker(150), s * 0.025));
    p.setBrush(fur.darker(120));
    p.drawEllipse(c + QPointF(-s * 0.3, -s * 0.02), s * 0.1, s * 0.22);
    p.drawEllipse(c + QPointF(s * 0.3, -s * 0.02), s * 0.1, s * 0.22);
    p.setBrush(fur);
    p.drawEllipse(c, s * 0.26, s * 0.28);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(c + QPointF(-s * 0.1, -s * 0.06), s * 0.035, s * 0.04);
    p.drawEllipse(c + QPointF(s * 0.1, -s * 0.06), s * 0.035, s * 0.04);
    p.drawEllipse(c + QPointF(0, s * 0.08), s * 0.06, s * 0.045);
}

void apple(QPainter& p, const QRectF& r, QColor skin) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() + QPointF(0, s * 0.05);
    p.setPen(QPen(skin.darker(140), s * 0.02));
    p.setBrush(skin);
    p.drawEllipse(c + QPointF(-s * 0.1, 0), s * 0.2, s * 0.24);
    p.drawEllipse(c + QPointF(s * 0.1, 0), s * 0.2, s * 0.24);
    p.setPen(QPen(QColor(0x6b, 0x4a, 0x2b), s * 0.035, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(0, -s * 0.2), c + QPointF(s * 0.03, -s * 0.34));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6a, 0x99, 0x4e));
    p.drawEllipse(c + QPointF(s * 0.12, -s * 0.3), s * 0.09, s * 0.045);
}

void tree(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8a, 0x62, 0x3f));
    p.drawRect(QRectF(c.x() - s * 0.05, c.y(), s * 0.1, s * 0.38));
    p.setBrush(QColor(0x6a, 0x99, 0x4e));
    p.drawEllipse(c + QPointF(0, -s * 0.08), s * 0.28, s * 0.26);
}

void house(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() + QPointF(0, s * 0.08);
    p.setPen(QPen(kInk, s * 0.02));
    p.setBrush(QColor(0xf1, 0xe3, 0xc6));
    p.drawRect(QRectF(c.x() - s * 0.28, c.y() - s * 0.12, s * 0.56, s * 0.4));
    QPolygonF roof;
    roof << c + QPointF(-s * 0.36, -s * 0.1) << c + QPointF(0, -s * 0.42) << c + QPointF(s * 0.36, -s * 0.1);
    p.setBrush(QColor(0xc4, 0x6a, 0x4f));
    p.drawPolygon(roof);
    p.setBrush(QColor(0x8a, 0x62, 0x3f));
    p.drawRect(QRectF(c.x() - s * 0.07, c.y() + s * 0.06, s * 0.14, s * 0.22));
}

void book_shape(QPainter& p, const QRectF& r, QColor cover) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(cover.darker(150), s * 0.02));
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(c.x() - s * 0.25, c.y() - s * 0.32, s * 0.5, s * 0.64), s * 0.04, s * 0.04);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(c.x() - s * 0.15, c.y() - s * 0.2, s * 0.3, s * 0.12));
}

void ball(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.025));
    p.setBrush(Qt::white);
    p.drawEllipse(c, s * 0.3, s * 0.3);
    p.setBrush(kInk);
    QPolygonF pent;
    for (int i = 0; i < 5; ++i) {
        double a = -M_PI / 2 + i * 2 * M_PI / 5;
        pent << c + QPointF(std::cos(a), std::sin(a)) * s * 0.11;
    }
    p.drawPolygon(pent);
}

void flower(QPainter& p, const QRectF& r, QColor petals) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center() - QPointF(0, s * 0.08);
    p.setPen(QPen(QColor(0x6a, 0x99, 0x4e), s * 0.04));
    p.drawLine(c, c + QPointF(0, s * 0.42));
    p.setPen(Qt::NoPen);
    p.setBrush(petals);
    for (int i = 0; i < 6; ++i) {
        double a = i * M_PI / 3;
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * s * 0.13, s * 0.09, s * 0.09);
    }
    p.setBrush(QColor(0xf7, 0xc9, 0x48));
    p.drawEllipse(c, s * 0.08, s * 0.08);
}

void fish(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x3a, 0x6f, 0x9e), s * 0.02));
    p.setBrush(QColor(0x7f, 0xb3, 0xd5));
    QPolygonF tail;
    tail << c + QPointF(s * 0.18, 0) << c + QPointF(s * 0.38, -s * 0.16) << c + QPointF(s * 0.38, s * 0.16);
    p.drawPolygon(tail);
    p.drawEllipse(c + QPointF(-s * 0.05, 0), s * 0.26, s * 0.16);
    p.setBrush(kInk);
    p.drawEllipse(c + QPointF(-s * 0.18, -s * 0.03), s * 0.025, s * 0.025);
}

void bird(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(QColor(0x9e, 0x6b, 0x2b), s * 0.02));
    p.setBrush(QColor(0xf2, 0xd0, 0x6b));
    p.drawEllipse(c, s * 0.24, s * 0.2);
    p.drawEllipse(c + QPointF(-s * 0.2, -s * 0.16), s * 0.13, s * 0.13);
    QPolygonF beak;
    beak << c + QPointF(-s * 0.32, -s * 0.18) << c + QPointF(-s * 0.42, -s * 0.13) << c + QPointF(-s * 0.31, -s * 0.1);
    p.setBrush(QColor(0xe0, 0x7a, 0x3a));
    p.drawPolygon(beak);
    p.setBrush(kInk);
    p.drawEllipse(c + QPointF(-s * 0.22, -s * 0.19), s * 0.022, s * 0.022);
}

void pig(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    QColor pink(0xf2, 0xb5, 0xb8);
    p.setPen(QPen(pink.darker(140), s * 0.02));
    p.setBrush(pink);
    p.drawEllipse(c, s * 0.3, s * 0.26);
    p.setBrush(pink.darker(110));
    p.drawEllipse(c + QPointF(0, s * 0.06), s * 0.11, s * 0.08);
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c + QPointF(-s * 0.04, s * 0.06), s * 0.02, s * 0.025);
    p.drawEllipse(c + QPointF(s * 0.04, s * 0.06), s * 0.02, s * 0.025);
    p.drawEllipse(c + QPointF(-s * 0.12, -s * 0.08), s * 0.03, s * 0.03);
    p.drawEllipse(c + QPointF(s * 0.12, -s * 0.08), s * 0.03, s * 0.03);
}

void cup(QPainter& p, const QRectF& r, QColor drink) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.025));
    p.setBrush(Qt::white);
    QPolygonF glass;
    glass << c + QPointF(-s * 0.2, -s * 0.3) << c + QPointF(s * 0.2, -s * 0.3) << c + QPointF(s * 0.15, s * 0.32) << c + QPointF(-s * 0.15, s * 0.32);
    p.drawPolygon(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(drink);
    QPolygonF fill;
    fill << c + QPointF(-s * 0.18, -s * 0.12) << c + QPointF(s * 0.18, -s * 0.12) << c + QPointF(s * 0.14, s * 0.3) << c + QPointF(-s * 0.14, s * 0.3);
    p.drawPolygon(fill);
}

void bowl(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.02));
    p.setBrush(QColor(0xfa, 0xf3, 0xe0));
    p.drawEllipse(c + QPointF(0, -s * 0.04), s * 0.3, s * 0.1);
    QPainterPath path;
    path.moveTo(c + QPointF(-s * 0.32, -s * 0.02));
    path.cubicTo(c + QPointF(-s * 0.3, s * 0.3), c + QPointF(s * 0.3, s * 0.3), c + QPointF(s * 0.32, -s * 0.02));
    path.closeSubpath();
    p.setBrush(QColor(0x5d, 0x8c, 0xb8));
    p.drawPath(path);
}

void person(QPainter& p, const QRectF& r, QColor shirt) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(kInk, s * 0.02));
    p.setBrush(shirt);
    p.drawRoundedRect(QRectF(c.x() - s * 0.2, c.y() + s * 0.02, s * 0.4, s * 0.36), s * 0.1, s * 0.1);
    p.setBrush(QColor(0xf6, 0xd5, 0xb5));
    p.drawEllipse(c + QPointF(0, -s * 0.16), s * 0.17, s * 0.17);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3a, 0x2e, 0x28));
    p.drawPie(QRectF(c.x() - s * 0.18, c.y() - s * 0.35, s * 0.36, s * 0.3), 0, 180 * 16);
    p.setBrush(kInk);
    p.drawEllipse(c + QPointF(-s * 0.06, -s * 0.15), s * 0.02, s * 0.025);
    p.drawEllipse(c + QPointF(s * 0.06, -s * 0.15), s * 0.02, s * 0.025);
}

void pencil(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.save();
    p.translate(c);
    p.rotate(-35);
    p.setPen(QPen(kInk, s * 0.02));
    p.setBrush(QColor(0xf7, 0xc9, 0x48));
    p.drawRect(QRectF(-s * 0.32, -s * 0.07, s * 0.5, s * 0.14));
    QPolygonF tip;
    tip << QPointF(s * 0.18, -s * 0.07) << QPointF(s * 0.34, 0) << QPointF(s * 0.18, s * 0.07);
    p.setBrush(QColor(0xf1, 0xe3, 0xc6));
    p.drawPolygon(tip);
    p.restore();
}

void star(QPainter& p, const QRectF& r) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    QPolygonF st;
    for (int i = 0; i < 10; ++i) {
        double a = -M_PI / 2 + i * M_PI / 5;
        double rad = (i % 2 ? 0.14 : 0.34) * s;
        st << c + QPointF(std::cos(a), std::sin(a)) * rad;
    }
    p.setPen(QPen(QColor(0xd9, 0xa4, 0x1f), s * 0.02));
    p.setBrush(QColor(0xf7, 0xd0, 0x5a));
    p.drawPolygon(st);
}

void box_shape(QPainter& p, const QRectF& r, QColor c0) {
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(QPen(c0.darker(150), s * 0.025));
    p.setBrush(c0);
    p.drawRoundedRect(QRectF(c.x() - s * 0.34, c.y() - s * 0.18, s * 0.68, s * 0.36), s * 0.06, s * 0.06);
    p.drawLine(QPointF(c.x() - s * 0.34, c.y() - s * 0.04), QPointF(c.x() + s * 0.34, c.y() - s * 0.04));
}

// Keywords (English or Chinese) of a description mapped to shapes.
struct Keyed {
    const char* keys;  // space-separated
    Shape shape;
};

const std::vector<Keyed>& keyed_shapes() {
    static const std::vector<Keyed> table = {
        {"sun sunny summer hot 太阳 晴 夏", sun},
        {"rain rainy umbrella 雨 伞", [](QPainter& p, const QRectF& r) { cloud(p, r, true); }},
        {"cloud cloudy windy wind snow 云 阴 风 雪 冬", [](QPainter& p, const QRectF& r) { cloud(p, r, false); }},
        {"cat kitten 猫", [](QPainter& p, const QRectF& r) { cat(p, r, QColor(0xf0, 0xa9, 0x5a)); }},
        {"dog biscuit puppy 狗 饼干", dog},
        {"apple apples tomato 苹果 番茄 西红柿", [](QPainter& p, const QRectF& r) { apple(p, r, QColor(0xd9, 0x4f, 0x4f)); }},
        {"orange oranges peach 橙 桃", [](QPainter& p, const QRectF& r) { apple(p, r, QColor(0xf0, 0x9a, 0x3a)); }},
        {"tree trees park farm garden 树 公园 农场 花园", tree},
        {"house home flat room bedroom kitchen 家 房 屋 卧室 厨房", house},
        {"book books library story read 书 图书馆 故事", [](QPainter& p, const QRectF& r) { book_shape(p, r, QColor(0x4a, 0x78, 0xa8)); }},
        {"ball football playground 球 操场", ball},
        {"flower flowers spring 花 春", [](QPainter& p, const QRectF& r) { flower(p, r, QColor(0xe8, 0x8a, 0xb0)); }},
        {"fish river 鱼 河", fish},
        {"bird duck hen chicken 鸟 鸭 鸡", bird},
        {"pig 猪", pig},
        {"milk juice water tea drink 牛奶 果汁 水 茶 喝", [](QPainter& p, const QRectF& r) { cup(p, r, QColor(0xf2, 0xa6, 0x3a)); }},
        {"rice noodles soup bowl dinner lunch breakfast 米饭 面条 汤 碗 饭", bowl},
        {"girl boy teacher friend mum dad grandma lily ben rosa kai tao 女孩 男孩 老师 朋友 妈妈 爸爸 奶奶 莉莉 本 罗莎 凯 涛涛 孩子",
         [](QPainter& p, const QRectF& r) { person(p, r, QColor(0x6a, 0x99, 0x4e)); }},
        {"pencil pen crayon ruler draw 铅笔 钢笔 蜡笔 尺 画", pencil},
        {"star stars moon night 星 月 夜", star},
        {"bag box 包 盒", [](QPainter& p, const QRectF& r) { box_shape(p, r, QColor(0x86, 0x72, 0x9e)); }},
    };
    return table;
}

std::vector<const Shape*> shapes_for(const QString& description) {
    std::vector<const Shape*> out;
    QString d = description.toLower();
    for (const Keyed& k : keyed_shapes()) {
        for (const QString& key : QString::fromUtf8(k.keys).split(' ', Qt::SkipEmptyParts)) {
            bool hit = key.at(0).unicode() < 128 ? d.contains(QRegularExpression("\\b" + key + "\\b")) : d.contains(key);
            if (hit) {
                out.push_back(&k.shape);
                break;
            }
        }
        if (out.size() == 3) break;
    }
    return out;
}

// A framed drawing: a little scene of sky and grass with the shapes the description names, or a
// plain landscape when it names none.
void draw_picture(QPainter& p, const Draw& d) {
    QRectF r = d.rect;
    bool small = r.height() < 50;
    p.save();
    QPainterPath frame;
    frame.addRoundedRect(r, small ? 4 : 6, small ? 4 : 6);
    p.setClipPath(frame);
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(0xe3, 0xf0, 0xf8));
    sky.setColorAt(1, QColor(0xf4, 0xf8, 0xf0));
    p.fillRect(r, sky);
    auto shapes = shapes_for(d.text);
    if (!small) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xc2, 0xdc, 0xa6));
        p.drawEllipse(QRectF(r.left() - r.width() * 0.2, r.bottom() - r.height() * 0.28, r.width() * 0.9, r.height() * 0.6));
        p.setBrush(QColor(0xa9, 0xcc, 0x8a));
        p.drawEllipse(QRectF(r.left() + r.width() * 0.35, r.bottom() - r.height() * 0.24, r.width() * 0.9, r.height() * 0.5));
    }
    bool scene = r.height() > 120;  // a large picture: a landscape with the shapes in front
    if (scene || (shapes.empty() && !small)) {
        double cell = std::min({r.height() * 0.9, r.width() / 3, 110.0});
        sun(p, QRectF(r.right() - cell * 1.1, r.top() + cell * 0.05, cell, cell));
        tree(p, QRectF(r.left() + r.width() * 0.04, r.bottom() - cell * 1.1, cell, cell));
        if (shapes.empty()) house(p, QRectF(r.center().x() - cell / 2, r.bottom() - cell * 1.02, cell, cell));
    } else if (shapes.empty()) {
        book_shape(p, r, d.colour);
    }
    if (!shapes.empty()) {
        int n = static_cast<int>(shapes.size());
        double cell = std::min({r.height() * (scene ? 0.5 : 0.92), r.width() / (n + (scene ? 1.5 : 0)), scene ? 90.0 : 200.0});
        double x0 = r.center().x() - cell * n / 2;
        double y0 = scene ? r.bottom() - cell * 1.15 : r.center().y() - cell / 2;
        for (int i = 0; i < n; ++i) (*shapes[static_cast<std::size_t>(i)])(p, QRectF(x0 + i * cell, y0, cell, cell));
    }
    p.restore();
    p.setPen(QPen(d.colour, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, small ? 4 : 6, small ? 4 : 6);
}

void draw_bubble(QPainter& p, const Draw& d) {
    QRectF r = d.rect;
    QPainterPath path;
    path.addRoundedRect(r, 7, 7);
    QPolygonF tail;
    if (d.number) {
        tail << QPointF(r.right() - 18, r.bottom() - 1) << QPointF(r.right() - 8, r.bottom() + d.size) << QPointF(r.right() - 10, r.bottom() - 1);
    } else {
        tail << QPointF(r.left() + 10, r.bottom() - 1) << QPointF(r.left() + 8, r.bottom() + d.size) << QPointF(r.left() + 18, r.bottom() - 1);
    }
    QPainterPath t;
    t.addPolygon(tail);
    t.closeSubpath();
    path = path.united(t);
    p.setPen(QPen(d.colour.darker(125), 0.8));
    p.setBrush(d.colour);
    p.drawPath(path);
}

void paint_paper(QPainter& p) {
    p.fillRect(QRectF(0, 0, kBoxWidth, kBoxHeight), kPaper);
    QLinearGradient gutter(QPointF(380, 0), QPointF(420, 0));
    gutter.setColorAt(0, QColor(0, 0, 0, 0));
    gutter.setColorAt(0.5, QColor(0, 0, 0, 28));
    gutter.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(380, 0, 40, kBoxHeight), gutter);
}

void paint_page_numbers(QPainter& p, const Spread& s, QColor colour) {
    Draw left;
    left.kind = Draw::Text;
    left.role = FontRole::PageNumber;
    left.size = 11;
    left.colour = colour;
    left.rect = QRectF(22, 510, 60, 16);
    left.text = QString::number(s.printed);
    left.align = Qt::AlignLeft | Qt::AlignVCenter;
    Draw right = left;
    right.rect = QRectF(718, 510, 60, 16);
    right.text = QString::number(s.printed + 1);
    right.align = Qt::AlignRight | Qt::AlignVCenter;
    p.setPen(QPen(colour, 0.8));
    p.drawLine(QPointF(22, 506), QPointF(378, 506));
    p.drawLine(QPointF(422, 506), QPointF(778, 506));
    draw_text(p, left);
    draw_text(p, right);
}

}  // namespace

void paint_listen_icon(QPainter& p, const QRectF& r) {
    // An orange disc with a white loudspeaker and two sound waves.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    double s = std::min(r.width(), r.height());
    QPointF c = r.center();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf0, 0x8a, 0x3a));
    p.drawEllipse(c, s * 0.48, s * 0.48);
    p.setBrush(Qt::white);
    QPolygonF spk;
    spk << c + QPointF(-s * 0.28, -s * 0.1) << c + QPointF(-s * 0.15, -s * 0.1) << c + QPointF(0, -s * 0.25) << c + QPointF(0, s * 0.25)
        << c + QPointF(-s * 0.15, s * 0.1) << c + QPointF(-s * 0.28, s * 0.1);
    p.drawPolygon(spk);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, s * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c.x() - s * 0.14, c.y() - s * 0.16, s * 0.32, s * 0.32), -50 * 16, 100 * 16);
    p.drawArc(QRectF(c.x() - s * 0.2, c.y() - s * 0.27, s * 0.54, s * 0.54), -50 * 16, 100 * 16);
    p.restore();
}

void paint_spread(QPainter& p, const Spread& s, bool debug) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    paint_paper(p);
    QColor band = kInk;
    for (const Draw& d : s.draws) {
        switch (d.kind) {
            case Draw::Text:
                draw_text(p, d);
                break;
            case Draw::Band:
                if (d.rect.top() <= 0) band = d.colour;
                p.setPen(Qt::NoPen);
                p.setBrush(d.colour);
                p.drawRoundedRect(d.rect, d.rect.top() <= 0 ? 0 : 5, d.rect.top() <= 0 ? 0 : 5);
                break;
            case Draw::Bubble:
                draw_bubble(p, d);
                break;
            case Draw::Card:
                p.setPen(QPen(d.colour.darker(120), 0.8));
                p.setBrush(d.colour);
                p.drawRoundedRect(d.rect, 6, 6);
                break;
            case Draw::Picture:
                draw_picture(p, d);
                break;
            case Draw::Gap:
                p.setPen(QPen(d.colour, 1.1));
                p.drawLine(d.rect.topLeft(), d.rect.topRight());
                break;
            case Draw::Square:
                p.setPen(QPen(d.colour, 1.1));
                p.setBrush(Qt::white);
                p.drawRect(d.rect.adjusted(0.5, 0.5, -0.5, -0.5));
                break;
            case Draw::Rule:
                p.setPen(QPen(d.colour, 0.8));
                p.drawLine(d.rect.topLeft(), d.rect.topRight());
                break;
            case Draw::NoteLines:
                break;
        }
    }
    paint_page_numbers(p, s, band.darker(110));
    if (!debug) return;
    for (const Unit& u : s.units) {
        QColor c = u.kind == UnitKind::Hotspot ? QColor(220, 0, 0)
                   : u.kind == UnitKind::FillIn ? QColor(0, 0, 220)
                   : u.kind == UnitKind::Tick   ? QColor(0, 160, 0)
                   : u.kind == UnitKind::Listen ? QColor(230, 120, 0)
                                                : QColor(200, 0, 200);
        QRectF r(u.rect.x, u.rect.y, u.rect.w, u.rect.h);
        if (u.kind == UnitKind::Tick) r.translate(kTickShiftX, kTickShiftY);  // where it shows
        if (u.kind == UnitKind::Listen) paint_listen_icon(p, r);
        p.setPen(QPen(c, 0.6));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
    }
}

}  // namespace tb::layout

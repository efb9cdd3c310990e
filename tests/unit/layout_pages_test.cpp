// The baked page pictures and the page-picture units the template compiler reads
// (build/assets/pictures/page-NN.jpg, build/assets/layout/main_pages.json).
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRect>

#include <map>
#include <set>

#include "content/volume.hpp"

namespace {

const QString kAssets = QStringLiteral(TAPBOOK_BINARY_DIR "/assets/");

QJsonObject units_file() {
    QFile f(kAssets + "layout/main_pages.json");
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

QRect rect_of(const QJsonObject& unit) {
    QJsonArray r = unit["place"].toArray();
    return QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
}

bool is_hotspot(const QJsonObject& u) { return u["name"].toString().startsWith(QString::fromUtf8("透明标签页")); }

int number_of(const QJsonObject& u) { return u["name"].toString().section('_', -1).toInt(); }

// Labels act when the button goes down (event -1); boxes when changed or clicked (event 0).
QString handler_of(const QJsonObject& u) {
    const char* event = u["type"] == "TransLabel" ? "-1" : "0";
    return u["events"].toObject()[event].toString();
}

class LayoutPages : public testing::Test {
protected:
    void SetUp() override {
        root = units_file();
        ASSERT_FALSE(root.isEmpty()) << "no layout/main_pages.json under " << kAssets.toStdString();
        ASSERT_EQ(root["window"].toString(), "main");
        // The file lists each page picture followed by the units lying on it; regroup them.
        for (const auto& v : root["units"].toArray()) {
            QJsonObject u = v.toObject();
            if (u["parent"].toString() == QString::fromUtf8("高级选择夹1")) {
                u["children"] = QJsonArray();
                pictures.append(u);
            } else {
                ASSERT_FALSE(pictures.isEmpty());
                QJsonObject last = pictures.last().toObject();
                ASSERT_EQ(u["parent"].toString(), last["name"].toString()) << u["name"].toString().toStdString();
                QJsonArray children = last["children"].toArray();
                children.append(u);
                last["children"] = children;
                pictures[pictures.size() - 1] = last;
            }
        }
    }
    QJsonObject root;
    QJsonArray pictures;
};

}  // namespace

TEST(LayoutPictures, AllThirtySixPagePicturesAndTheListenIconHaveTheirSizes) {
    for (int n = 1; n <= 36; ++n) {
        QString file = kAssets + QString("pictures/page-%1.jpg").arg(n, 2, 10, QChar('0'));
        QImageReader r(file);
        EXPECT_EQ(r.format(), "jpeg") << file.toStdString();
        EXPECT_EQ(r.size(), QSize(2118, 1526)) << file.toStdString();
    }
    QImageReader icon(kAssets + "pictures/listen.jpg");
    EXPECT_EQ(icon.size(), QSize(40, 40));
}

TEST_F(LayoutPages, PicturesComeInPageOrderWithTheirFiles) {
    ASSERT_EQ(pictures.size(), 36);
    const int front[4] = {2, 4, 1, 3};
    for (int k = 0; k < 36; ++k) {
        QJsonObject p = pictures[k].toObject();
        int n = k < 4 ? front[k] : k + 1;
        EXPECT_EQ(p["name"].toString(), QString::fromUtf8("图片框底图") + QString::number(n));
        EXPECT_EQ(p["page"].toInt(), k);
        EXPECT_EQ(p["block"].toObject()["picture"].toString(), QString("pictures/page-%1.jpg").arg(n, 2, 10, QChar('0')));
        EXPECT_EQ(rect_of(p).size(), QSize(800, 540));
        EXPECT_EQ(p["block"].toObject()["display_mode"].toInt(), 1);
    }
}

TEST_F(LayoutPages, InventoryMatchesTheMainWindow) {
    const std::map<int, int> per_picture = {
        {2, 14},  {4, 35},  {1, 29},  {3, 24},  {5, 21},  {6, 15},  {7, 28},  {8, 31},  {9, 26},  {10, 16}, {11, 13}, {12, 28},
        {13, 26}, {14, 29}, {15, 19}, {16, 15}, {17, 9},  {18, 14}, {19, 24}, {20, 34}, {21, 23}, {22, 20}, {23, 8},  {24, 26},
        {25, 32}, {26, 25}, {27, 24}, {28, 10}, {29, 27}, {30, 22}, {31, 19}, {32, 21}, {33, 30}, {34, 8},  {35, 92}, {36, 41}};
    std::map<QString, int> by_type;
    int hotspots = 0, overlays = 0;
    std::map<QString, std::set<int>> fills, ticks;
    for (const auto& pv : pictures) {
        QJsonObject p = pv.toObject();
        int n = p["name"].toString().mid(5).toInt();
        int page_hotspots = 0;
        QJsonArray children = p["children"].toArray();
        for (qsizetype i = 0; i < children.size(); ++i) {
            QJsonObject u = children[i].toObject();
            QString name = u["name"].toString();
            ++by_type[u["type"].toString()];
            if (is_hotspot(u)) {
                ++page_hotspots;
                EXPECT_EQ(u["cursor"].toString(), "hand") << name.toStdString();
            }
            if (name.startsWith(QString::fromUtf8("透明标签练一练是否错误"))) {
                ++overlays;
                EXPECT_EQ(i, children.size() - 1) << "overlay stored last: " << name.toStdString();
                EXPECT_TRUE(u["disabled"].toBool());
                EXPECT_EQ(handler_of(u), "practice_overlay_pressed");
            }
            QString page = name.section('_', 0, 0);
            if (u["type"] == "EditBox") fills[page.mid(3)].insert(number_of(u));
            if (u["type"] == "CheckBox") ticks[page.mid(5)].insert(number_of(u));
        }
        EXPECT_EQ(page_hotspots, per_picture.at(n)) << "picture " << n;
        hotspots += page_hotspots;
    }
    EXPECT_EQ(hotspots, 878);
    EXPECT_EQ(overlays, 34);
    EXPECT_EQ(by_type["EditBox"], 38);
    EXPECT_EQ(by_type["CheckBox"], 22);
    EXPECT_EQ(by_type["PicBox"], 31);  // the listen icons
    using S = std::set<int>;
    std::map<QString, S> want_fills = {{"6", S{1, 2, 3, 4}}, {"14", S{1}},  {"16", S{1, 2, 3, 4}}, {"18", S{1, 2, 3, 4}},
                                       {"20", S{1, 2}},      {"26", S{1, 2, 3}}, {"30", S{1}},     {"40", S{1, 2, 3, 4, 5, 6}},
                                       {"50", S{1, 2, 3, 4, 5, 6}}, {"54", S{1, 2}}, {"60", S{1, 2, 3, 4, 5}}};
    std::map<QString, S> want_ticks = {{"4", S{1, 2, 3}},  {"16", S{1, 2}},          {"48", S{1, 2}}, {"50", S{1, 2, 3}},
                                       {"54", S{1, 2, 3, 4, 5}}, {"58", S{1, 2, 3}}, {"64", S{1, 2, 3, 5}}};
    EXPECT_EQ(fills, want_fills);
    EXPECT_EQ(ticks, want_ticks);
}

TEST_F(LayoutPages, HotspotsStayInBoundsNeverOverlapAndCarryTheirPage) {
    for (const auto& pv : pictures) {
        QJsonObject p = pv.toObject();
        int k = p["page"].toInt();
        QString tag = k >= 34 ? QString() : QString::number(tb::volume::printed_page(k));
        QString word = k == 0 ? QString::fromUtf8("二") : k == 1 ? QString::fromUtf8("四") : k >= 34 ? "70" : tag;
        std::vector<QJsonObject> hot;
        for (const auto& cv : p["children"].toArray())
            if (is_hotspot(cv.toObject())) hot.push_back(cv.toObject());
        for (std::size_t i = 0; i < hot.size(); ++i) {
            QRect r = rect_of(hot[i]);
            std::string name = hot[i]["name"].toString().toStdString();
            EXPECT_TRUE(r.left() >= 0 && r.left() + r.width() <= 785 && r.top() >= -4 && r.top() + r.height() <= 502) << name;
            EXPECT_EQ(hot[i]["tag"].toString(), tag) << name;
            EXPECT_EQ(hot[i]["name"].toString().section('_', 0, 0), QString::fromUtf8("透明标签页") + word) << name;
            if (k < 34) {
                EXPECT_EQ(number_of(hot[i]), static_cast<int>(i) + 1) << name;
                EXPECT_EQ(handler_of(hot[i]), "page_hotspot_pressed") << name;
            }
            for (std::size_t j = i + 1; j < hot.size(); ++j)
                EXPECT_FALSE(r.intersects(rect_of(hot[j]))) << name << " overlaps " << hot[j]["name"].toString().toStdString();
        }
    }
}

TEST_F(LayoutPages, WordListCellsAreNumberedDownTheColumnsAndSized120By13) {
    // Picture 35 holds cells 1..96 (4 columns of 24), picture 36 cells 97..184 (4 columns of 22);
    // cells 142..162 and 167..184 are writing lines without hotspots; 141 and 166 have no handler.
    std::map<int, int> column_x, row_y;
    int count[2] = {0, 0};
    for (int pi : {34, 35}) {
        QJsonObject p = pictures[pi].toObject();
        int first = pi == 34 ? 1 : 97, rows = pi == 34 ? 24 : 22;
        column_x.clear();
        row_y.clear();
        for (const auto& cv : p["children"].toArray()) {
            QJsonObject u = cv.toObject();
            if (!is_hotspot(u)) continue;
            ++count[pi - 34];
            int n = number_of(u);
            QRect r = rect_of(u);
            EXPECT_EQ(r.size(), QSize(120, 13)) << n;
            ASSERT_TRUE(n >= first && n < first + 4 * rows) << n;
            EXPECT_FALSE((n >= 142 && n <= 162) || (n >= 167 && n <= 184)) << n;
            EXPECT_EQ(handler_of(u).isEmpty(), n == 141 || n == 166) << n;
            int col = (n - first) / rows, row = (n - first) % rows;
            if (column_x.count(col)) {
                EXPECT_EQ(column_x[col], r.left()) << n;
            }
            if (row_y.count(row)) {
                EXPECT_EQ(row_y[row], r.top()) << n;
            }
            column_x[col] = r.left();
            row_y[row] = r.top();
        }
        for (auto it = column_x.begin(); std::next(it) != column_x.end(); ++it) EXPECT_LT(it->second + 120, std::next(it)->second);
        for (auto it = row_y.begin(); std::next(it) != row_y.end(); ++it) EXPECT_LE(it->second + 13, std::next(it)->second);
    }
    EXPECT_EQ(count[0], 92);
    EXPECT_EQ(count[1], 41);
}

// Dark ink somewhere in the few picture pixels around box point (x, y).
static bool inked(const QImage& img, double x, double y) {
    const double sx = 2118.0 / 800, sy = 1526.0 / 540;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            QPoint px(static_cast<int>(x * sx) + dx, static_cast<int>(y * sy) + dy);
            if (img.rect().contains(px) && qGray(img.pixel(px)) < 110) return true;
        }
    return false;
}

TEST_F(LayoutPages, TickBoxesShowOverPrintedSquaresAndFillInsOverPrintedGaps) {
    int ticks = 0, fills = 0;
    for (const auto& pv : pictures) {
        QJsonObject p = pv.toObject();
        QImage img(kAssets + p["block"].toObject()["picture"].toString());
        ASSERT_FALSE(img.isNull());
        for (const auto& cv : p["children"].toArray()) {
            QJsonObject u = cv.toObject();
            QRect r = rect_of(u);
            std::string name = u["name"].toString().toStdString();
            if (u["type"] == "CheckBox") {
                ++ticks;
                EXPECT_EQ(r.size(), QSize(15, 16)) << name;
                EXPECT_EQ(handler_of(u), "page_tick_clicked") << name;
                // Created, the box moves right 7 and down 8: there the square's edges are printed.
                QRectF shown(r.x() + 7, r.y() + 8, 15, 16);
                EXPECT_TRUE(inked(img, shown.left() + 0.5, shown.center().y())) << name;
                EXPECT_TRUE(inked(img, shown.right() - 0.5, shown.center().y())) << name;
                EXPECT_TRUE(inked(img, shown.center().x(), shown.top() + 0.5)) << name;
                EXPECT_FALSE(inked(img, shown.center().x(), shown.center().y())) << name;
            } else if (u["type"] == "EditBox") {
                ++fills;
                EXPECT_GE(r.height(), 16) << name;
                EXPECT_EQ(handler_of(u), "page_fill_in_changed") << name;
                // The gap's line runs along the bottom of the box, from end to end.
                for (double f : {0.1, 0.5, 0.9}) EXPECT_TRUE(inked(img, r.x() + f * r.width(), r.bottom() + 0.5)) << name;
                EXPECT_FALSE(inked(img, r.center().x(), r.center().y())) << name;
            } else if (u["type"] == "PicBox") {
                EXPECT_EQ(r.size(), QSize(20, 20)) << name;
                EXPECT_EQ(u["block"].toObject()["picture"].toString(), "pictures/listen.jpg") << name;
            }
            if (u["type"] != "TransLabel") {
                EXPECT_TRUE(QRect(0, 0, 800, 540).contains(r)) << name;
            }
        }
    }
    EXPECT_EQ(ticks, 22);
    EXPECT_EQ(fills, 38);
}

// The answer mark a fill-in box gets (20 x 20, 5 px right of the box, rising 20 px from its top)
// stands on blank paper of its own row: no printed text of the row above under it, no other unit.
TEST_F(LayoutPages, EachFillInMarkHasBlankPaperInItsOwnRow) {
    int fills = 0;
    for (const auto& pv : pictures) {
        QJsonObject p = pv.toObject();
        QImage img(kAssets + p["block"].toObject()["picture"].toString());
        ASSERT_FALSE(img.isNull());
        const QJsonArray children = p["children"].toArray();
        for (const auto& cv : children) {
            QJsonObject u = cv.toObject();
            if (u["type"] != "EditBox") continue;
            ++fills;
            const QRect box = rect_of(u);
            const QRect mark(box.x() + box.width() + 5, box.y() - 20, 20, 20);
            const std::string name = u["name"].toString().toStdString();
            EXPECT_TRUE(QRect(0, 0, 800, 540).contains(mark)) << name;
            for (int y = mark.top() + 3; y < mark.bottom() - 2; y += 3)
                for (int x = mark.left() + 3; x < mark.right() - 2; x += 3)
                    ASSERT_FALSE(inked(img, x, y)) << name << " at " << x << "," << y;
            for (const auto& ov : children) {
                const QJsonObject o = ov.toObject();
                if (o["name"] != u["name"] && !o["name"].toString().startsWith(QString::fromUtf8("透明标签练一练"))) {
                    EXPECT_FALSE(rect_of(o).intersects(mark)) << name << " covers " << o["name"].toString().toStdString();
                }
            }
        }
    }
    EXPECT_EQ(fills, 38);
}

#pragma once
// The printed spreads of the main window: where every item of a page is printed, the units that
// lie over it (hotspots, fill-in boxes, tick boxes, listen icons, the practice overlay) and what
// the page picture paints. All geometry is in the 800 x 540 box coordinates of a page picture.
#include <QColor>
#include <QRectF>
#include <QString>

#include <map>
#include <string>
#include <vector>

#include "tools/book/book.hpp"

class QPainter;
namespace art {
class Library;
}

namespace tb::layout {

// The artwork the pictures are drawn from, loaded once by the bake before anything is painted.
void set_artwork(const art::Library* library);
const art::Library& artwork();

inline constexpr int kBoxWidth = 800;
inline constexpr int kBoxHeight = 540;
inline constexpr int kPictureWidth = 2118;
inline constexpr int kPictureHeight = 1526;
// The main window moves every tick box right and down by half its size when it is created.
inline constexpr int kTickShiftX = 7;
inline constexpr int kTickShiftY = 8;
inline constexpr int kTickWidth = 15;
inline constexpr int kTickHeight = 16;
inline constexpr int kListenSize = 20;
inline constexpr int kWordListPage = 70;
// No printed text is smaller than this many pixels on screen at the window's own size.
inline constexpr double kSmallestTextPx = 10;

// The picture number that page index k (0..35) shows.
int picture_of_page(int k);
// The page index that shows picture n (1..36).
int page_of_picture(int n);

struct IRect {
    int x = 0, y = 0, w = 0, h = 0;
    int right() const { return x + w; }
    int bottom() const { return y + h; }
    bool intersects(const IRect& o) const { return x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom(); }
    bool contains(const IRect& o) const { return o.x >= x && o.y >= y && o.right() <= right() && o.bottom() <= bottom(); }
};
IRect outer_rect(const QRectF& r);  // the smallest whole-pixel rectangle around r

enum class UnitKind { Hotspot, FillIn, Tick, Listen, Overlay };

struct Unit {
    UnitKind kind = UnitKind::Hotspot;
    std::string name;     // UTF-8
    int number = 0;       // the number after the underscore
    IRect rect;
    std::string tag;      // decimal page number or empty
    std::string handler;  // empty: none
    int event = 0;
};

enum class FontRole { Title, Subtitle, Heading, Line, Word, Exercise, ExerciseHead, Band, PageNumber, ListEnglish, ListChinese, ListHeading };

// One thing the page picture paints.
struct Draw {
    enum Kind { Text, Bubble, Card, Gap, Square, Picture, Band, Rule, Scene, Panels } kind = Text;
    QRectF rect;
    QString text;
    FontRole role = FontRole::Line;
    double size = 11;  // font pixel size in box units
    QColor colour;
    int align = 0;     // Qt::Alignment flags for Text
    int number = 0;    // Gap, Square: the box number it carries; Bubble: 1 tail right; Picture: 1 right page;
                       // Scene: the spread's scene it shows, -1 none written (Panels shows all its panels)
    // Picture of a word card or marker: what it shows (into the book's map, which outlives the
    // layout) and the item's English text, the name its picture is also written under.
    const book::Artwork* art = nullptr;
    std::string name{};
};

struct Spread {
    int page_index = 0;  // 0..35
    int picture = 0;     // 1..36
    int printed = 0;     // printed number of the left page
    bool word_list = false;
    std::string page_word;  // in hotspot names: 二, 四 or decimal
    std::vector<Unit> units;  // stored order: hotspots, fill-ins, ticks, listen icons, overlay
    std::vector<Draw> draws;
    bool overflows = false;  // the page's content does not fit even in the smallest type
    int item_count = 0;  // items of the page (or hotspot cells of the word list)
    std::vector<book::Scene> scenes;  // the page's scene and panel lines
    std::map<std::string, book::Character> cast;  // who its scenes may show (book/characters.txt)
    std::map<std::string, book::Thing> things;    // the things' names beyond the icons' own

    std::string picture_name() const;  // 图片框底图N
    std::string picture_file() const;  // pictures/page-NN.jpg
};

struct Volume {
    std::vector<Spread> spreads;  // in page order: index 0..35
};

// Lays out the whole volume. Needs a QGuiApplication (font metrics).
Volume lay_out(const book::Book& book);

// Paints a spread in box coordinates onto a painter already set to them.
void paint_spread(QPainter& p, const Spread& s, bool debug);
// Paints one word card's or marker's picture as the spread prints it.
void paint_picture(QPainter& p, const Draw& d);
void paint_listen_icon(QPainter& p, const QRectF& r);

// Checks the layout; every problem names its unit. Empty when the layout is sound.
std::vector<std::string> check_volume(const Volume& v, const book::Book& book);

// The story pictures (scenes.cpp): painting one into its frame, checking every scene of the
// volume against the cast, the things and the artwork, and each story picture's frame (the
// spread's Scene and Panels draws in order) for writing out on its own.
void paint_scene(QPainter& p, const Spread& s, const Draw& d);
std::vector<std::string> check_scenes(const Volume& v, const book::Book& book);
std::vector<const Draw*> story_pictures(const Spread& s);

// Writes the units of the page pictures for the template compiler.
std::string units_json(const Volume& v);

}  // namespace tb::layout

// Where the translation pop-up stands beside a pressed hotspot, one row a case: below or above,
// moved in from the right edge, kept inside the area, one line or several, and no text at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reading/hotspots.hpp"

using namespace tb;
using tb::reading::place_popup;
using tb::reading::PopupPlacement;
using tb::reading::PopupRect;

namespace {

constexpr int kLeft = 0;
constexpr int kCentred = 1;

struct Row {
    const char* what;
    int left, top;  // the hotspot's
    ScreenSize area;
    std::string text;
    PopupPlacement expected;
};

}  // namespace

TEST(PopupPlacement, FollowsTheHotspotAndStaysInsideTheArea) {
    const ScreenSize window{800, 600};
    const std::vector<Row> rows = {
        {"one line: centred, 11 a byte, 75 below", 10, 100, window, "abc", {{10, 175, 33, 25}, kCentred}},
        {"Chinese counts its GBK bytes", 10, 100, window, gbk("你好"), {{10, 175, 44, 25}, kCentred}},
        {"right end on the edge stays", 690, 100, window, "abcdefghij", {{690, 175, 110, 25}, kCentred}},
        {"past the right edge: 20 inside it", 700, 100, window, "abcdefghij", {{670, 175, 110, 25}, kCentred}},
        {"wider than the area: at its left", 0, 100, window, std::string(80, 'x'), {{0, 175, 880, 25}, kCentred}},
        {"bottom 40 short of the margin stays below", 10, 444, window, "abc", {{10, 519, 33, 25}, kCentred}},
        {"near the bottom: 50 above", 10, 485, window, "abc", {{10, 435, 33, 25}, kCentred}},
        {"a small screen moves it above sooner", 10, 400, {800, 480}, "abc", {{10, 350, 33, 25}, kCentred}},
        {"above the area's top: held to it", 10, 20, {800, 100}, "abc", {{10, 0, 33, 25}, kCentred}},
        {"a trailing CR LF is one line, sized with it", 10, 100, window, "abc\r\n", {{10, 175, 55, 25}, kCentred}},
        {"several lines: the longest at 10 a byte, 20 a line, 50 below", 10, 100, window,
         "12345678\r\n12345678901234567890", {{10, 150, 200, 40}, kLeft}},
        {"several lines near the bottom: their height and 50 above", 10, 500, window, "ab\r\ncd",
         {{10, 410, 20, 40}, kLeft}},
        {"several lines past the right edge", 750, 100, window, "1234567890\r\nx", {{680, 150, 100, 40}, kLeft}},
        {"three lines", 10, 100, window, "a\r\nbb\r\nccc", {{10, 150, 30, 60}, kLeft}},
        {"no text: an empty box where several lines would go", 10, 100, window, "", {{10, 150, 0, 0}, kLeft}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(place_popup({r.left, r.top, 60, 30}, r.area, r.text), r.expected);
    }
}

TEST(PopupPlacement, MeasuresWithTheWidthGivenToIt) {
    // Twice the figure and a fraction: the pop-up's width is cut, and the clamp uses it.
    const ByteWidth wide = [](std::string_view t, int per_byte) { return 2.0 * per_byte * t.size() + 0.7; };
    EXPECT_EQ(place_popup({10, 100, 0, 0}, {800, 600}, "abc", wide), (PopupPlacement{{10, 175, 66, 25}, kCentred}));
    EXPECT_EQ(place_popup({750, 100, 0, 0}, {800, 600}, "abc", wide), (PopupPlacement{{714, 175, 66, 25}, kCentred}));
    EXPECT_EQ(place_popup({10, 100, 0, 0}, {800, 600}, "ab\r\nc", wide), (PopupPlacement{{10, 150, 40, 40}, kLeft}));
    // The figure each case asks for reaches the function.
    std::vector<int> asked;
    const ByteWidth record = [&](std::string_view, int per_byte) {
        asked.push_back(per_byte);
        return 0.0;
    };
    place_popup({}, {800, 600}, "abc", record);
    place_popup({}, {800, 600}, "a\r\nb", record);
    EXPECT_EQ(asked, (std::vector<int>{kPopupLinePixelsPerByte, kPopupLinesPixelsPerByte, kPopupLinesPixelsPerByte}));
}

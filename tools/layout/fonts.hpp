#pragma once
// Fonts of the printed pages. Text is measured and drawn with fonts kFontScale times the box size
// and scaled back, so the fractional sizes of box coordinates keep exact, unhinted metrics.
#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include "tools/layout/layout.hpp"

namespace tb::layout {

inline constexpr double kFontScale = 8.0;

inline QFont page_font(FontRole role, double size) {
    QFont f;
    switch (role) {
        case FontRole::ListChinese:
        case FontRole::Subtitle:
            f.setFamilies({"Noto Sans CJK SC", "DejaVu Sans"});
            break;
        case FontRole::ExerciseHead:
            f.setFamilies({"DejaVu Sans", "Noto Sans CJK SC"});
            f.setBold(true);
            break;
        case FontRole::Title:
        case FontRole::Heading:
        case FontRole::Band:
        case FontRole::PageNumber:
        case FontRole::ListHeading:
            f.setFamilies({"DejaVu Sans", "Noto Sans CJK SC"});
            f.setBold(true);
            break;
        default:
            f.setFamilies({"DejaVu Sans", "Noto Sans CJK SC"});
            break;
    }
    f.setPixelSize(static_cast<int>(size * kFontScale + 0.5));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(true);
    return f;
}

struct Metrics {
    QFontMetricsF fm;
    explicit Metrics(const QFont& f) : fm(f) {}
    double width(const QString& s) const { return fm.horizontalAdvance(s) / kFontScale; }
    double height() const { return fm.height() / kFontScale; }
    double ascent() const { return fm.ascent() / kFontScale; }
    double line_spacing() const { return fm.lineSpacing() / kFontScale; }
};

}  // namespace tb::layout

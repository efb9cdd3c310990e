#pragma once
// The artwork the bake draws page pictures from: an icon set (vector drawings in one flat,
// friendly style) read from its JSON collection at build time, drawn with Qt's SVG renderer.
// Nothing here runs in the program: every picture is baked.
#include <QByteArray>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <map>
#include <string>

namespace art {

class Library {
public:
    // Reads a collection of the form {prefix, width, height, icons: {name: {body, width?, height?}},
    // aliases: {name: {parent}}}. Throws std::runtime_error naming the file on any fault.
    static Library load(const std::string& icons_json_path);

    // Adds another collection's icons (our own drawings for what the set lacks); throws
    // std::runtime_error on a name both hold.
    void add(const Library& more);

    bool has(const std::string& name) const;
    // The icon as a whole SVG document; throws std::runtime_error naming an unknown icon.
    QByteArray svg(const std::string& name) const;
    // Draws the icon centred in r with its aspect kept; mirrored left-right on request (a figure
    // that faces the other way).
    void draw(QPainter& p, const QRectF& r, const std::string& name, bool mirror = false) const;
    std::size_t size() const { return icons_.size(); }

private:
    struct Icon {
        QByteArray body;
        double width = 0, height = 0;
    };
    const Icon& icon(const std::string& name) const;
    std::map<std::string, Icon> icons_;
};

}  // namespace art

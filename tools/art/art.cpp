#include "tools/art/art.hpp"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSvgRenderer>
#include <stdexcept>

namespace art {

Library Library::load(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("artwork: cannot read " + path + " (scripts/deps.sh installs it)");
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &err);
    if (doc.isNull() || !doc.isObject())
        throw std::runtime_error("artwork: " + path + " is not an icon collection: " + err.errorString().toStdString());
    const QJsonObject root = doc.object();
    const double w0 = root.value("width").toDouble(16), h0 = root.value("height").toDouble(16);
    Library lib;
    const QJsonObject icons = root.value("icons").toObject();
    for (auto it = icons.begin(); it != icons.end(); ++it) {
        const QJsonObject o = it.value().toObject();
        Icon icon{o.value("body").toString().toUtf8(), o.value("width").toDouble(w0), o.value("height").toDouble(h0)};
        if (icon.body.isEmpty()) throw std::runtime_error("artwork: icon " + it.key().toStdString() + " has no body");
        lib.icons_.emplace(it.key().toStdString(), std::move(icon));
    }
    // An alias draws its parent (some names are kept for older spellings).
    const QJsonObject aliases = root.value("aliases").toObject();
    for (auto it = aliases.begin(); it != aliases.end(); ++it) {
        const std::string parent = it.value().toObject().value("parent").toString().toStdString();
        auto p = lib.icons_.find(parent);
        if (p != lib.icons_.end()) lib.icons_.emplace(it.key().toStdString(), p->second);
    }
    if (lib.icons_.empty()) throw std::runtime_error("artwork: " + path + " holds no icons");
    return lib;
}

void Library::add(const Library& more) {
    for (const auto& [name, icon] : more.icons_)
        if (!icons_.emplace(name, icon).second) throw std::runtime_error("artwork: two collections hold an icon \"" + name + "\"");
}

bool Library::has(const std::string& name) const { return icons_.count(name) != 0; }

const Library::Icon& Library::icon(const std::string& name) const {
    auto it = icons_.find(name);
    if (it == icons_.end()) throw std::runtime_error("artwork: no icon named \"" + name + "\"");
    return it->second;
}

QByteArray Library::svg(const std::string& name) const {
    const Icon& i = icon(name);
    return QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 ") + QByteArray::number(i.width) + ' ' +
           QByteArray::number(i.height) + "\" width=\"" + QByteArray::number(i.width) + "\" height=\"" +
           QByteArray::number(i.height) + "\">" + i.body + "</svg>";
}

void Library::draw(QPainter& p, const QRectF& r, const std::string& name, bool mirror) const {
    const Icon& i = icon(name);
    QSvgRenderer renderer(svg(name));
    if (!renderer.isValid()) throw std::runtime_error("artwork: icon \"" + name + "\" does not render");
    const double scale = std::min(r.width() / i.width, r.height() / i.height);
    const QSizeF size(i.width * scale, i.height * scale);
    QRectF target(r.center() - QPointF(size.width() / 2, size.height() / 2), size);
    p.save();
    if (mirror) {
        p.translate(target.center().x(), 0);
        p.scale(-1, 1);
        p.translate(-target.center().x(), 0);
    }
    renderer.render(&p, target);
    p.restore();
}

}  // namespace art

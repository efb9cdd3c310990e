// layout_bake: lays out the sample volume's 36 printed spreads, renders their page pictures and
// the listen icon, and writes the page-picture units of the main window for the template compiler.
//
//   layout_bake --book <book folder> --out <assets folder> --art <icons.json>... [--debug]
//
// It also writes each word card's and marker's picture as art/words/<the item's English>.png
// (listed in art/words/index.txt). --debug also writes debug/page-NN.png with every unit
// outlined. The layout is checked before anything is written, and so is the map of the
// vocabulary pictures (book/art.txt); a problem fails the bake and names the unit or the word.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <atomic>
#include <cmath>
#include <set>
#include <thread>

#include <unistd.h>

#include "tools/art/art.hpp"
#include "tools/book/artmap.hpp"
#include "tools/layout/layout.hpp"

namespace fs = std::filesystem;
using namespace tb;

namespace {

bool save(const QImage& img, const fs::path& file, const char* format, int quality) {
    fs::create_directories(file.parent_path());
    fs::path tmp = file;
    tmp += ".tmp";
    if (!img.save(QString::fromStdString(tmp.string()), format, quality)) return false;
    fs::rename(tmp, file);
    return true;
}

bool render_page(const layout::Spread& s, const fs::path& out, bool debug) {
    QImage img(layout::kPictureWidth, layout::kPictureHeight, QImage::Format_RGB32);
    {
        QPainter p(&img);
        p.scale(double(layout::kPictureWidth) / layout::kBoxWidth, double(layout::kPictureHeight) / layout::kBoxHeight);
        layout::paint_spread(p, s, false);
    }
    char name[32];
    std::snprintf(name, sizeof name, "page-%02d", s.picture);
    if (!save(img, out / "pictures" / (std::string(name) + ".jpg"), "JPG", 90)) return false;
    // Each story picture on its own, as printed, on white: art/scenes/page<NN>-<n>.png.
    int n = 0;
    for (const layout::Draw* d : layout::story_pictures(s)) {
        constexpr double kScale = 3;
        QImage pic(static_cast<int>(std::ceil(d->rect.width() * kScale)), static_cast<int>(std::ceil(d->rect.height() * kScale)), QImage::Format_RGB32);
        pic.fill(Qt::white);
        {
            QPainter p(&pic);
            p.scale(kScale, kScale);
            p.translate(-d->rect.topLeft());
            layout::paint_scene(p, s, *d);
        }
        char file[48];
        std::snprintf(file, sizeof file, "page%02d-%d.png", s.page_index, ++n);
        if (!save(pic, out / "art" / "scenes" / file, "PNG", -1)) return false;
    }
    if (debug) {
        QImage dbg(1200, 810, QImage::Format_RGB32);
        QPainter p(&dbg);
        p.scale(1.5, 1.5);
        layout::paint_spread(p, s, true);
        p.end();
        if (!save(dbg, out / "debug" / (std::string(name) + ".png"), "PNG", -1)) return false;
    }
    return true;
}

// Each word card's and marker's picture as printed, on plain paper: art/words/<English>.png.
// A word printed on several pages is written once; index.txt lists them all.
bool write_word_pictures(const layout::Volume& volume, const fs::path& out) {
    const fs::path dir = out / "art" / "words";
    std::error_code ec;
    fs::remove_all(dir, ec);  // no picture left over from a word since renamed
    fs::create_directories(dir);
    const double sx = double(layout::kPictureWidth) / layout::kBoxWidth, sy = double(layout::kPictureHeight) / layout::kBoxHeight;
    std::set<std::string> written;
    for (const layout::Spread& s : volume.spreads)
        for (const layout::Draw& d : s.draws) {
            if (!d.art || d.name.empty() || !written.insert(d.name).second) continue;
            if (d.name.find('/') != std::string::npos) {
                std::fprintf(stderr, "layout_bake: \"%s\" cannot name a file\n", d.name.c_str());
                return false;
            }
            const QRectF r = d.rect.adjusted(-2, -2, 2, 2);
            QImage img(static_cast<int>(std::ceil(r.width() * sx)), static_cast<int>(std::ceil(r.height() * sy)), QImage::Format_RGB32);
            img.fill(QColor(0xfd, 0xfb, 0xf5));
            {
                QPainter p(&img);
                p.setRenderHint(QPainter::Antialiasing);
                p.scale(sx, sy);
                p.translate(-r.topLeft());
                layout::paint_picture(p, d);
            }
            if (!save(img, dir / (d.name + ".png"), "PNG", -1)) return false;
        }
    std::ofstream index(dir / "index.txt", std::ios::binary);
    for (const std::string& name : written) index << name << '\n';
    return static_cast<bool>(index);
}

}  // namespace

int main(int argc, char** argv) {
    fs::path book_dir, out_dir;
    std::vector<fs::path> art_files;
    bool debug = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--book") && i + 1 < argc) book_dir = argv[++i];
        else if (!std::strcmp(argv[i], "--out") && i + 1 < argc) out_dir = argv[++i];
        else if (!std::strcmp(argv[i], "--art") && i + 1 < argc) art_files.push_back(argv[++i]);
        else if (!std::strcmp(argv[i], "--debug")) debug = true;
        else {
            std::fprintf(stderr, "usage: layout_bake --book <dir> --out <dir> --art <icons.json>... [--debug]\n");
            return 2;
        }
    }
    if (book_dir.empty() || out_dir.empty() || art_files.empty()) {
        std::fprintf(stderr, "usage: layout_bake --book <dir> --out <dir> --art <icons.json>... [--debug]\n");
        return 2;
    }
    if (!std::getenv("XDG_RUNTIME_DIR")) {  // Qt wants one; a private folder keeps it quiet
        fs::path xdg = fs::temp_directory_path() / ("tapbook-bake-xdg-" + std::to_string(getuid()));
        std::error_code ec;
        fs::create_directories(xdg, ec);
        fs::permissions(xdg, fs::perms::owner_all, fs::perm_options::replace, ec);
        setenv("XDG_RUNTIME_DIR", xdg.c_str(), 1);
    }
    QGuiApplication app(argc, argv);

    std::vector<book::Problem> problems;
    book::Book book = book::read_book(book_dir, problems);
    for (const auto& p : problems) std::fprintf(stderr, "layout_bake: %s: %s\n", p.where.c_str(), p.what.c_str());
    if (!problems.empty()) return 1;

    art::Library artwork;
    try {
        artwork = art::Library::load(art_files[0].string());
        for (std::size_t i = 1; i < art_files.size(); ++i) artwork.add(art::Library::load(art_files[i].string()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "layout_bake: %s\n", e.what());
        return 1;
    }
    layout::set_artwork(&artwork);

    auto art_problems = book::check_art(book, [&](const std::string& icon) { return artwork.has(icon); });
    for (const auto& p : art_problems) std::fprintf(stderr, "layout_bake: %s: %s\n", p.where.c_str(), p.what.c_str());
    if (!art_problems.empty()) return 1;

    layout::Volume volume = layout::lay_out(book);
    auto bad = layout::check_volume(volume, book);
    for (const auto& b : bad) std::fprintf(stderr, "layout_bake: %s\n", b.c_str());
    if (!bad.empty()) return 1;

    std::error_code gone;
    fs::remove_all(out_dir / "art" / "scenes", gone);  // no picture left from an earlier bake
    // Two workers: the pictures are independent and the machine has two cores.
    std::atomic<bool> ok = true;
    std::atomic<std::size_t> next = 0;
    auto worker = [&] {
        for (std::size_t i; (i = next++) < volume.spreads.size();)
            if (!render_page(volume.spreads[i], out_dir, debug)) ok = false;
    };
    std::thread other(worker);
    worker();
    other.join();
    if (!ok) {
        std::fprintf(stderr, "layout_bake: cannot write the page pictures under %s\n", out_dir.string().c_str());
        return 1;
    }

    if (!write_word_pictures(volume, out_dir)) {
        std::fprintf(stderr, "layout_bake: cannot write the word pictures under %s\n", out_dir.string().c_str());
        return 1;
    }

    QImage icon(40, 40, QImage::Format_RGB32);
    icon.fill(QColor(0xfd, 0xfb, 0xf5));
    {
        QPainter p(&icon);
        layout::paint_listen_icon(p, QRectF(1, 1, 38, 38));
    }
    if (!save(icon, out_dir / "pictures" / "listen.jpg", "JPG", 90)) {
        std::fprintf(stderr, "layout_bake: cannot write pictures/listen.jpg\n");
        return 1;
    }

    fs::path json = out_dir / "layout" / "main_pages.json";
    fs::create_directories(json.parent_path());
    std::ofstream(json, std::ios::binary) << layout::units_json(volume);
    return 0;
}

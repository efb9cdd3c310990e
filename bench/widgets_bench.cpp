// The widget set over a window shaped like the main window: 1070 units, 915 of them hotspots
// (transparent labels with an empty caption) on 36 page pictures in a 37-page book.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <memory>

#include "runtime/text.hpp"
#include "ui/store/template_store.hpp"
#include "ui/store/template_writer.hpp"
#include "ui/widgets/widgets.hpp"

using namespace tb;
using namespace tb::ui;

namespace {

constexpr std::uint32_t kMain = 0x52010061;

void ensure_app() {
    if (QCoreApplication::instance()) return;  // bench/main.cpp made it
    static std::unique_ptr<QApplication> app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "tapbook_bench";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QApplication>(argc, argv);
    }();
}

// A page-sized JPEG with some texture, so decoding costs what a page costs.
Blob page_picture() {
    QImage img(2118, 1526, QImage::Format_RGB32);
    img.fill(QColor(250, 246, 236));
    QPainter p(&img);
    for (int y = 0; y < img.height(); y += 40)
        for (int x = 0; x < img.width(); x += 120) p.fillRect(x, y, 90, 18, QColor((x * 7) % 200, (y * 3) % 200, 120));
    p.end();
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPEG", 80);
    return Blob(bytes.begin(), bytes.end());
}

UnitSpec unit(std::uint32_t id, UnitType type, const std::string& utf8_name, std::uint32_t parent,
              int l, int t, int w, int h) {
    return {.id = id, .type_code = static_cast<std::uint32_t>(type), .name = gbk(utf8_name), .left = l, .top = t,
            .width = w, .height = h, .parent = parent};
}

const Blob& main_like_set() {
    static const Blob set = [] {
        WindowSpec w;
        w.id = kMain;
        UnitSpec own = unit(0x06010062, UnitType::Window, "", 0, 0, 0, 800, 600);
        own.type_block = encode(WindowBlock{});
        own.bindings = {{0, 0}};
        w.units.push_back(own);
        std::uint32_t next = 0x16000001;
        UnitSpec book = unit(next++, UnitType::PageControl, "高级选择夹1", 0, 0, 0, 800, 540);
        PageControlBlock pb;
        for (int p = 1; p <= 37; ++p) pb.page_titles.push_back(number_text(2 * p));
        book.type_block = encode(pb);
        const std::uint32_t book_id = book.id;
        w.units.push_back(book);

        PicBoxBlock page;
        page.display_mode = 1;
        const Blob picture = page_picture();
        std::vector<std::uint32_t> pages;
        for (int p = 1; p <= 37; ++p) {
            auto pic = unit(next++, UnitType::PicBox, "图片框底图" + std::to_string(p), book_id, 0, 0, 800, 540);
            // One byte after the end-of-image mark makes every page's bytes different, so turning
            // pages decodes as with real pages instead of hitting the picture cache.
            page.picture = picture;
            page.picture.push_back(static_cast<std::uint8_t>(p));
            pic.type_block = encode(page);
            pages.push_back(pic.id);
            w.units.push_back(pic);
            w.units[1].children.push_back(pic.id);
            w.units[1].children.push_back(0);
        }
        TransLabelBlock hot;  // empty caption: the main window clears them all at creation
        Blob hot_block = encode(hot);
        for (int h = 0; h < 915; ++h) {
            int page_no = h % 36;
            auto u = unit(next++, UnitType::TransLabel, "透明标签页" + std::to_string(2 * page_no + 2) + "_" + std::to_string(h / 36 + 1),
                          pages[std::size_t(page_no)], (h * 37) % 700, (h * 53) % 480, 90, 24);
            u.cursor = kCursorHand;
            u.tag = number_text(2 * page_no + 2);
            u.bindings = {{-1, 1}};
            u.type_block = hot_block;
            w.units.push_back(u);
        }
        PicBoxBlock listen;
        listen.display_mode = 1;
        for (int i = 0; i < 32; ++i) {  // listen pictures and the answer mark
            auto u = unit(next++, UnitType::PicBox, "图片框听录音s" + std::to_string(i), pages[std::size_t(i % 36)], 10, 10, 40, 40);
            u.type_block = encode(listen);
            w.units.push_back(u);
        }
        for (int i = 0; i < 40; ++i) {
            auto u = unit(next++, UnitType::EditBox, "编辑框" + std::to_string(i), pages[std::size_t(i % 36)], 300, 200, 80, 22);
            u.bindings = {{0, 1}};
            w.units.push_back(u);
        }
        for (int i = 0; i < 23; ++i)
            w.units.push_back(unit(next++, UnitType::CheckBox, "选择框打钩" + std::to_string(i), pages[std::size_t(i % 36)], 400, 300, 15, 16));
        UnitSpec bar = unit(next++, UnitType::GroupBox, "分组框翻页", 0, 1, 536, 792, 59);
        const std::uint32_t bar_id = bar.id;
        w.units.push_back(bar);
        SuperBtnBlock sb;
        sb.caption = gbk("下一页");
        sb.tooltip = sb.caption;
        for (int i = 0; i < 15; ++i) {
            auto u = unit(next++, UnitType::SuperBtn, "超级按钮_" + std::to_string(i), i < 10 ? bar_id : pages[36], 8 + 43 * i, 15, 40, 30);
            u.type_block = encode(sb);
            u.cursor = kCursorHand;
            w.units.push_back(u);
        }
        ComboBoxBlock cb;
        cb.options[0] = 2;
        cb.items = {"Unit 1", "Unit 2", "Unit 3"};
        for (int i = 0; i < 3; ++i) {
            auto u = unit(next++, UnitType::ComboBox, "组合框" + std::to_string(i), bar_id, 94, 21, 60, 20);
            u.type_block = encode(cb);
            w.units.push_back(u);
        }
        w.units.push_back(unit(next++, UnitType::Label, "标签_显示翻译", 0, 27, 21, 40, 24));
        w.units.push_back(unit(next++, UnitType::Label, "标签_版本", bar_id, 511, 13, 276, 40));
        if (w.units.size() != 1070) std::abort();
        return write_template_set({w});
    }();
    return set;
}

int created(const EventArgs&) { return 0; }

void load() {
    ensure_app();
    static bool loaded = false;
    if (loaded) return;
    load_templates(main_like_set());
    static const Handler table[] = {&created, &created};
    set_handler_table(table);
    loaded = true;
}

// Creating the window's 1070 controls, showing it and painting its first page, then closing it.
void BM_ShowAndCloseMainShapedWindow(benchmark::State& state) {
    load();
    for (auto _ : state) {
        show_window(kMain, false);
        QCoreApplication::sendPostedEvents();  // what the event loop does next: polish, lay out
        QWidget* frame = control_of(kMain, 0);
        benchmark::DoNotOptimize(frame->grab());  // paints the page shown with its hotspots
        destroy_window(kMain);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_ShowAndCloseMainShapedWindow)->Unit(benchmark::kMillisecond);

// Turning to a page: hiding one page's units, showing the next, painting it (its picture decoded
// at the box's size: 36 pages cycle through an 8-entry cache).
void BM_TurnPage(benchmark::State& state) {
    load();
    show_window(kMain, false);
    QWidget* frame = control_of(kMain, 0);
    std::uint32_t book = 0x16000001;
    int k = 0;
    for (auto _ : state) {
        k = (k + 1) % 36;
        set_property(kMain, book, 12, std::int32_t(k));
        QCoreApplication::sendPostedEvents();
        benchmark::DoNotOptimize(frame->grab());
    }
    destroy_window(kMain);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
BENCHMARK(BM_TurnPage)->Unit(benchmark::kMillisecond);

// Collecting the hotspots of one textbook page by type name and tag range.
void BM_CollectHotspotsOfAPage(benchmark::State& state) {
    load();
    show_window(kMain, false);
    Text trans = gbk("透明标签");
    for (auto _ : state) benchmark::DoNotOptimize(collect_units(kMain, {}, trans, 32, 32));
    destroy_window(kMain);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
BENCHMARK(BM_CollectHotspotsOfAPage)->Unit(benchmark::kMicrosecond);

}  // namespace

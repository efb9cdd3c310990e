// The template store over a window shaped like the main window: 1070 records, 915 of them
// hotspots, 37 page pictures carrying about 9.7 MB of picture bytes.
#include <benchmark/benchmark.h>

#include "support/store_sets.hpp"
#include "ui/store/template_store.hpp"

using namespace tb;
using namespace tb::ui;

namespace {

const Blob& main_like_set() {
    static const Blob set = [] {
        WindowSpec w;
        w.id = 0x52010061;
        w.units.push_back(test::window_record(0x06010062));
        std::uint32_t next = 0x16000001;
        auto book = test::unit(next++, UnitType::PageControl, "高级选择夹1");
        const std::uint32_t book_id = book.id;
        w.units.push_back(book);
        std::vector<std::uint32_t> pages;
        PicBoxBlock picture;
        picture.display_mode = 1;
        picture.picture.assign(262000, 0x5A);
        Blob picture_block = encode(picture);
        for (int p = 1; p <= 37; ++p) {
            auto pic = test::unit(next++, UnitType::PicBox, ("图片框底图" + std::to_string(p)).c_str(), book_id);
            pic.type_block = picture_block;
            pages.push_back(pic.id);
            w.units.push_back(pic);
        }
        for (std::uint32_t id : pages) {
            w.units[1].children.push_back(id);
            w.units[1].children.push_back(0);
        }
        TransLabelBlock hot;
        hot.colour = 0x00FF0000;
        Blob hot_block = encode(hot);
        for (int h = 0; h < 915; ++h) {
            int page = h / 27 % 36;
            std::string name = "透明标签页" + std::to_string(2 * (page + 1)) + "_" + std::to_string(h % 27 + 1);
            auto u = test::unit(next++, UnitType::TransLabel, name.c_str(), pages[static_cast<std::size_t>(page)],
                                std::to_string(2 * (page + 1)).c_str());
            u.cursor = kCursorHand;
            u.bindings = {{-1, 3}};
            u.type_block = hot_block;
            w.units.push_back(u);
        }
        while (w.units.size() < 1070) w.units.push_back(test::unit(next++, UnitType::EditBox, "编辑框40_1", pages[20]));
        return write_template_set({w});
    }();
    return set;
}

void BM_ParseMainWindow(benchmark::State& state) {
    const Blob& set = main_like_set();
    for (auto _ : state) {
        auto parsed = TemplateSet::parse(set);
        benchmark::DoNotOptimize(parsed.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * set.size()));
}
BENCHMARK(BM_ParseMainWindow)->Unit(benchmark::kMicrosecond);

// What a page change does: collect the hotspots of one textbook page by type name and tag range.
void BM_CollectHotspotsOfPage(benchmark::State& state) {
    auto parsed = TemplateSet::parse(main_like_set());
    WindowTemplate& w = parsed->window_at(0);
    CollectFilter filter{{}, gbk("透明标签"), 32, 32};
    for (auto _ : state) {
        std::vector<UnitRef> found;
        for (int i = 0; i < w.record_count(); ++i) {
            UnitRecord r = w.record_at(i);
            if (filter.matches(r)) found.push_back({w.id(), r.unit_id, r.type_code});
        }
        benchmark::DoNotOptimize(found.data());
    }
}
BENCHMARK(BM_CollectHotspotsOfPage)->Unit(benchmark::kMicrosecond);

void BM_PageOfHotspot(benchmark::State& state) {
    auto parsed = TemplateSet::parse(main_like_set());
    WindowTemplate& w = parsed->window_at(0);
    std::uint32_t last = w.unit_id_at(w.record_count() - 200);
    for (auto _ : state) benchmark::DoNotOptimize(w.page_of(last));
}
BENCHMARK(BM_PageOfHotspot)->Unit(benchmark::kMicrosecond);

}  // namespace

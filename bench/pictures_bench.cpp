// Page pictures into the 800 x 540 page box: our decoder (DCT-domain 1/2, then a smooth scale)
// against Qt's own JPEG reader at full size followed by the same smooth scale, and a cache hit.
// Argument 0: a clean page; 1: a page with the grain of a scan (harder to decode).
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>

#include <cstdint>
#include <vector>

#include "ui/widgets/pictures/jpeg_decode.hpp"
#include "ui/widgets/pictures/pictures.hpp"
#include "support/picture_samples.hpp"

namespace {

void ensure_gui() {
    if (QCoreApplication::instance()) return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tapbook_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

const std::vector<std::uint8_t>& page(int grainy) {
    ensure_gui();
    static const std::vector<std::uint8_t> clean = tb::test::encode_jpeg(tb::test::make_page_image(2118, 1526, 0));
    static const std::vector<std::uint8_t> scan = tb::test::encode_jpeg(tb::test::make_page_image(2118, 1526, 10));
    return grainy ? scan : clean;
}

const QSize kBox(800, 540);

// The page as Qt's own reader takes it.
QByteArray qt_data(const benchmark::State& state) {
    const auto& bytes = page(static_cast<int>(state.range(0)));
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// Qt's own reader at full size.
QImage qt_read(benchmark::State& state, const QByteArray& data) {
    QImage img;
    if (!img.loadFromData(data, "JPEG")) state.SkipWithError("Qt cannot read JPEG");
    return img;
}

void BM_PagePicture_Ours(benchmark::State& state) {
    const auto& bytes = page(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QImage img = tb::media::decode_picture(bytes, kBox);
        if (img.size() != kBox) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(img.constBits());
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

void BM_PagePicture_QtReaderFullThenScale(benchmark::State& state) {
    const QByteArray data = qt_data(state);
    for (auto _ : state) {
        QImage img = qt_read(state, data).scaled(kBox, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(img.constBits());
    }
}

void BM_PagePicture_CacheHit(benchmark::State& state) {
    const auto& bytes = page(static_cast<int>(state.range(0)));
    tb::media::PictureCache cache;
    cache.get(bytes, kBox);
    for (auto _ : state) {
        QImage img = cache.get(bytes, kBox);
        benchmark::DoNotOptimize(img.constBits());
    }
    if (cache.decodes() != 1) state.SkipWithError("cache missed");
}

// The two halves of each side, to show where the time goes.
void BM_PagePicture_OursDctHalfOnly(benchmark::State& state) {
    const auto& bytes = page(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        tb::media::BgrxImage out;
        if (!tb::media::decode_jpeg_bgrx(bytes, kBox.width(), kBox.height(), out).ok) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out.pixels.data());
    }
}

void BM_PagePicture_QtReaderFullOnly(benchmark::State& state) {
    const QByteArray data = qt_data(state);
    for (auto _ : state) {
        QImage img = qt_read(state, data);
        benchmark::DoNotOptimize(img.constBits());
    }
}

}  // namespace

// Process CPU time: Qt's smooth scaling hands work to its thread pool.
BENCHMARK(BM_PagePicture_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_PagePicture_QtReaderFullThenScale)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_PagePicture_OursDctHalfOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_PagePicture_QtReaderFullOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_PagePicture_CacheHit)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);


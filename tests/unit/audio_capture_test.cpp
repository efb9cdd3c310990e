// The microphone through SDL2's own drivers. The driver is chosen once per process, so each case
// runs this test program again in a process of its own with the driver set: the disk driver
// captures the file it is given (and writes what is played to another), the dummy driver hears
// silence.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "content/audio/capture.hpp"
#include "content/audio/players.hpp"
#include "reading/repeat_after_me.hpp"

using namespace tb;

namespace {

constexpr int kToneSamples = 8000;  // half a second at 16 kHz

std::int16_t tone_at(std::size_t i) { return static_cast<std::int16_t>(9000 * std::sin(2 * M_PI * 300.0 * double(i) / 16000)); }

std::vector<std::uint8_t> read_file(const std::string& path) {
    std::vector<std::uint8_t> out;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::uint8_t buf[65536];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) out.insert(out.end(), buf, buf + n);
        std::fclose(f);
    }
    return out;
}

// Runs one of the DISABLED_ cases below in a process of its own, with the environment given.
int run_alone(const char* test, const QString& dir, const QStringList& env) {
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const QString& kv : env) e.insert(kv.section('=', 0, 0), kv.section('=', 1));
    e.insert(QStringLiteral("TAPBOOK_CAPTURE_DIR"), dir);
    p.setProcessEnvironment(e);
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--gtest_also_run_disabled_tests"), QStringLiteral("--gtest_filter=AudioCaptureAlone.DISABLED_%1").arg(test)});
    if (!p.waitForFinished(30000)) return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

std::vector<std::int16_t> capture_for(SoundInput& in, std::size_t samples) {
    std::vector<std::int16_t> got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (got.size() < samples && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        in.take(got);
    }
    return got;
}

}  // namespace

TEST(AudioCapture, TheDiskDriverCapturesItsFileAndTheRecordingPlaysBackIntoItsOutput) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string in = dir.filePath(QStringLiteral("voice.raw")).toStdString();
    {
        std::FILE* f = std::fopen(in.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        for (std::size_t i = 0; i < kToneSamples; ++i) {
            const std::int16_t v = tone_at(i);
            std::fputc(v & 0xFF, f);
            std::fputc((v >> 8) & 0xFF, f);
        }
        std::fclose(f);
    }
    const QString out = dir.filePath(QStringLiteral("speaker.raw"));
    ASSERT_EQ(run_alone("DiskDriver", dir.path(),
                        {QStringLiteral("SDL_AUDIODRIVER=disk"), QStringLiteral("SDL_DISKAUDIOFILEIN=") + QString::fromStdString(in),
                         QStringLiteral("SDL_DISKAUDIOFILE=") + out}),
              0);
    // What the speaker got: 48 kHz stereo, silence, then the captured tone played back.
    const auto bytes = read_file(out.toStdString());
    ASSERT_GT(bytes.size(), 48000u);
    const auto* s = reinterpret_cast<const std::int16_t*>(bytes.data());
    const std::size_t n = bytes.size() / 2;
    std::size_t first = n, last = 0;
    int peak = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (std::abs(s[i]) > 3000) {
            first = std::min(first, i);
            last = i;
            peak = std::max(peak, std::abs(int(s[i])));
        }
    ASSERT_LT(first, last);
    EXPECT_GT(peak, 8000);
    EXPECT_NEAR(double(last - first) / 2 / 48.0, 500.0, 20.0) << "half a second of tone, in milliseconds";
}

TEST(AudioCapture, TheDummyDriverGivesASilentMicrophone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(run_alone("DummyDriver", dir.path(), {QStringLiteral("SDL_AUDIODRIVER=dummy")}), 0);
}

TEST(AudioCaptureAlone, DISABLED_DiskDriver) {
    const std::string dir = std::getenv("TAPBOOK_CAPTURE_DIR") ? std::getenv("TAPBOOK_CAPTURE_DIR") : "";
    ASSERT_FALSE(dir.empty());
    auto files = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    auto players = std::make_shared<media::ClipPlayers>(media::open_default_device());
    auto mic = media::make_sdl_sound_input();
    ASSERT_TRUE(mic->present());
    const auto before = files();
    ASSERT_TRUE(mic->start());
    const auto got = capture_for(*mic, kToneSamples + 3200);
    mic->stop();
    EXPECT_EQ(files(), before) << "recording writes no file";
    ASSERT_GE(got.size(), std::size_t{kToneSamples} + 3200);
    for (std::size_t i = 0; i < kToneSamples; ++i) ASSERT_EQ(got[i], tone_at(i)) << i;
    for (std::size_t i = kToneSamples; i < got.size(); ++i) ASSERT_EQ(got[i], 0) << "silence after the file's end";
    reading::SpeechTake take(16000, 1000);
    take.add(got);
    EXPECT_TRUE(take.heard_speech());

    // Paused and resumed, the one device goes on capturing.
    ASSERT_TRUE(mic->start());
    EXPECT_FALSE(capture_for(*mic, 1600).empty());
    mic->stop();

    ASSERT_TRUE(players->play_samples(std::span(got).first(kToneSamples + 3200), 16000, 1));
    EXPECT_TRUE(players->wait_idle(5000));
    players.reset();
}

TEST(AudioCaptureAlone, DISABLED_DummyDriver) {
    auto mic = media::make_sdl_sound_input();
    ASSERT_TRUE(mic->present());
    ASSERT_TRUE(mic->start());
    const auto got = capture_for(*mic, 3200);
    mic->stop();
    ASSERT_GE(got.size(), 3200u);
    EXPECT_TRUE(std::all_of(got.begin(), got.end(), [](std::int16_t v) { return v == 0; }));
}

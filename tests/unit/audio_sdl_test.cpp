// The real device path: SDL2 with its disk driver, which writes what it plays to a file and
// runs as fast as it is fed.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <thread>

#include <QProcess>

#include "content/audio/players.hpp"
#include "content/audio/sdl_library.hpp"
#include "content/catalogue.hpp"
#include "support/env_var.hpp"

namespace {
namespace fs = std::filesystem;

using tb::test::EnvVar;

TEST(AudioSdl, ClipsPlayThroughTheSdlDevice) {
    const fs::path dir = fs::temp_directory_path() / ("tapbook-audio-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "out.raw";
    {
        EnvVar driver("SDL_AUDIODRIVER", "disk");
        EnvVar out("SDL_DISKAUDIOFILE", file.string());
        EnvVar delay("SDL_DISKAUDIODELAY", "0");
        auto device = tb::media::open_default_device();
        ASSERT_TRUE(device);
        EXPECT_GT(device->sample_rate(), 0);
        tb::media::ClipPlayers players(device);
        ASSERT_TRUE(players.play(tb::catalogue::page_clips(0).at(0), false));
        ASSERT_TRUE(players.play(tb::catalogue::page_clips(0).at(1), false));
        EXPECT_TRUE(players.wait_idle(10000));
        ASSERT_TRUE(players.play(tb::catalogue::page_clips(0).at(2), true));
        players.stop_all();
        EXPECT_TRUE(players.wait_idle(10000));
    }
    std::ifstream f(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(f), {}};
    EXPECT_GT(bytes.size(), 48000u);
    EXPECT_NE(bytes.find_first_not_of('\0'), std::string::npos);  // sound, not only silence
    fs::remove_all(dir);
}

TEST(AudioSdl, NoSoundDeviceStillPlaysSilently) {
    // A driver that does not exist: the program runs on without sound.
    EnvVar driver("SDL_AUDIODRIVER", "no-such-driver");
    auto device = tb::media::open_default_device();
    ASSERT_TRUE(device);
    tb::media::ClipPlayers players(device);
    ASSERT_TRUE(players.play(tb::catalogue::page_clips(0).at(0), true));
    players.stop_all();
    EXPECT_TRUE(players.wait_idle(10000));
}

}  // namespace

namespace {

TEST(AudioSdl, StartUpInstallsPlayersBehindTheSoundCommands) {
    tb::media::install_sound_output();
    tb::media::install_sound_output();  // again: the first device is let go before the next opens
    EXPECT_FALSE(tb::play_sound({}));
    EXPECT_TRUE(tb::play_sound(tb::catalogue::page_clips(0).at(0), true));
    tb::stop_sounds();
    tb::set_sound_output(nullptr);  // waits for the player to end and closes the device
}

}  // namespace

namespace {

TEST(AudioSdl, OpeningTheDeviceLeavesTheProgramEndableBySignals) {
    EnvVar driver("SDL_AUDIODRIVER", "dummy");
    auto device = tb::media::open_default_device();
    ASSERT_TRUE(device);
    for (int sig : {SIGTERM, SIGINT}) {
        struct sigaction now{};
        ASSERT_EQ(sigaction(sig, nullptr, &now), 0);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << "signal " << sig;
    }
}

}  // namespace

namespace {

TEST(AudioSdl, TheLibraryLoadsWithTheFirstSoundNotWithTheProgram) {
    // The dynamic loader names every library it maps: SDL and what it pulls must not be among
    // those the program starts with.
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
    p.setProcessEnvironment(e);
    p.start(QStringLiteral(TAPBOOK_TAPBOOK_EXE), {QStringLiteral("--version")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString loaded = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_TRUE(loaded.contains(QStringLiteral("libQt6Core"))) << "the loader's list did not come";
    EXPECT_FALSE(loaded.contains(QStringLiteral("libSDL2"))) << loaded.toStdString();

    const tb::media::SdlApi* api = tb::media::sdl();
    ASSERT_TRUE(api);
    EXPECT_TRUE(api->SDL_InitSubSystem && api->SDL_OpenAudioDevice && api->SDL_GetNumAudioDevices);
    EXPECT_EQ(tb::media::sdl(), api);  // loaded once
}

TEST(AudioSdl, WithoutTheLibraryThereIsNoSoundAndNoCrash) {
    EXPECT_EQ(tb::media::load_sdl("libtapbook-no-such-sdl.so.0"), nullptr);
    EXPECT_EQ(tb::media::load_sdl("libm.so.6"), nullptr);  // there, but not SDL
    // An opener with nothing to open gives the silent device, which plays out in real time.
    auto device = tb::media::open_in_background([] { return std::shared_ptr<tb::media::AudioDevice>(); });
    EXPECT_GT(device->sample_rate(), 0);
    tb::media::ClipPlayers players(device);
    ASSERT_TRUE(players.play(tb::catalogue::page_clips(0).at(0), false));
    players.stop_all();
    EXPECT_TRUE(players.wait_idle(10000));
}

TEST(AudioSdl, ABackgroundDeviceOpensWhenPreparedOnAThreadOfItsOwn) {
    std::promise<std::thread::id> opened_on;
    int opens = 0;
    auto device = tb::media::open_in_background([&] {
        ++opens;
        opened_on.set_value(std::this_thread::get_id());
        return tb::media::make_null_device(22050);
    });
    EXPECT_EQ(opens, 0) << "nothing opens before it is asked for";
    device->prepare();
    device->prepare();  // once only
    auto on = opened_on.get_future();
    ASSERT_EQ(on.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_NE(on.get(), std::this_thread::get_id());
    EXPECT_EQ(device->sample_rate(), 22050);
    EXPECT_EQ(opens, 1);
}

TEST(AudioSdl, TheProgramOpensItsSoundOnceTheWelcomeWindowIsUp) {
    // The real program, headless: its log tells when the device begins to open.
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    e.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    e.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("tapbook.*.debug=true"));
    p.setProcessEnvironment(e);
    p.start(QStringLiteral(TAPBOOK_TAPBOOK_EXE), {});
    QString log;
    for (int waited = 0; waited < 300 && !log.contains(QStringLiteral("sound device ready")); ++waited) {
        p.waitForReadyRead(100);
        log += QString::fromUtf8(p.readAllStandardError());
    }
    p.terminate();
    p.waitForFinished(10000);
    const qsizetype shown = log.indexOf(QStringLiteral("welcome_created"));
    const qsizetype opening = log.indexOf(QStringLiteral("sound device opening"));
    ASSERT_GE(shown, 0) << log.toStdString();
    ASSERT_GE(opening, 0) << log.toStdString();
    EXPECT_LT(shown, opening) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("sound device ready"))) << log.toStdString();
}

TEST(AudioSdl, ABackgroundOpenStandsForTheDeviceItOpens) {
    auto opened = tb::media::make_null_device(22050);
    auto device = tb::media::open_in_background([&] { return opened; });
    EXPECT_EQ(device->sample_rate(), 22050);
    EXPECT_FALSE(device->lost());
    struct Sink : tb::media::BufferSink {
        std::promise<void> done;
        void buffer_done() override { done.set_value(); }
    } sink;
    const std::int16_t frames[8] = {};
    device->submit(&sink, frames, sizeof frames);  // four frames: gone at the device's next tick
    EXPECT_EQ(sink.done.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
}

}  // namespace

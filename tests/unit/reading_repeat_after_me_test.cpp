// Repeat after me: the recorder's end rules on made input, and the real main window playing the
// sentence, recording from a microphone fed from a file, and playing both back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <cmath>
#include <cstdio>

#include "content/audio/capture.hpp"
#include "content/audio/wave.hpp"
#include "reading/read_along_ui.hpp"
#include "reading/repeat_after_me.hpp"
#include "support/fakes.hpp"
#include "support/log_capture.hpp"
#include "support/main_window_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using tb::reading::RecordEnd;
using tb::reading::SpeechTake;
using tb::test::MainWindowTest;
namespace mw = tb::ids::main_window;

namespace {

constexpr int kRate = 16000;

std::vector<std::int16_t> tone(int ms, double amplitude = 8000) {
    std::vector<std::int16_t> s(static_cast<std::size_t>(ms) * kRate / 1000);
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<std::int16_t>(amplitude * std::sin(2 * M_PI * 220.0 * double(i) / kRate));
    return s;
}
std::vector<std::int16_t> quiet(int ms) { return tone(ms, 60); }  // a room's hum, not speech

// Feeds the samples in 32 ms blocks, as the microphone does; returns the end and when it came.
std::pair<RecordEnd, std::uint64_t> feed(SpeechTake& take, const std::vector<std::int16_t>& s) {
    const std::size_t block = 512;
    for (std::size_t at = 0; at < s.size(); at += block) {
        const std::size_t n = std::min(block, s.size() - at);
        const RecordEnd end = take.add(std::span(s).subspan(at, n));
        if (end != RecordEnd::None) return {end, take.length_ms()};
    }
    return {RecordEnd::None, take.length_ms()};
}

std::vector<std::int16_t> joined(std::initializer_list<std::vector<std::int16_t>> parts) {
    std::vector<std::int16_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

TEST(RecorderRules, SpeechThenSilenceEndsAfterEightTenthsOfASecondOfSilence) {
    SpeechTake take(kRate, 2000);
    const auto [end, at] = feed(take, joined({quiet(300), tone(700), quiet(300), tone(500), quiet(3000)}));
    EXPECT_EQ(end, RecordEnd::Silence);  // the pause between the words did not end it
    EXPECT_NEAR(static_cast<double>(at), 300 + 700 + 300 + 500 + 800, 40);
    EXPECT_TRUE(take.heard_speech());
}

TEST(RecorderRules, SpeechPastTheLimitEndsAtTwiceTheClipAndASecondAndAHalf) {
    SpeechTake take(kRate, 1000);
    EXPECT_EQ(take.limit_ms(), 3500u);
    const auto [end, at] = feed(take, tone(6000));
    EXPECT_EQ(end, RecordEnd::Limit);
    EXPECT_EQ(at, 3500u);
    EXPECT_EQ(take.samples().size(), 3500u * kRate / 1000) << "nothing past the limit is kept";
}

TEST(RecorderRules, SilenceOnlyOrAClickIsNothingHeard) {
    SpeechTake silent(kRate, 1000);
    EXPECT_EQ(feed(silent, std::vector<std::int16_t>(6000 * kRate / 1000, 0)).first, RecordEnd::Nothing);
    SpeechTake hum(kRate, 1000);
    EXPECT_EQ(feed(hum, quiet(6000)).first, RecordEnd::Nothing);
    SpeechTake click(kRate, 1000);
    EXPECT_EQ(feed(click, joined({quiet(500), tone(30, 20000), quiet(6000)})).first, RecordEnd::Nothing);
    EXPECT_FALSE(click.heard_speech());
}

TEST(RecorderRules, TheStopControlAndALostMicrophoneEndItAndTheFirstEndStays) {
    SpeechTake take(kRate, 1000);
    feed(take, tone(400));
    EXPECT_EQ(take.stop(), RecordEnd::Stopped);
    EXPECT_EQ(take.lost(), RecordEnd::Stopped);
    EXPECT_EQ(take.add(tone(400)), RecordEnd::Stopped);
    EXPECT_EQ(take.length_ms(), 400u);
    EXPECT_EQ(reading::record_end_name(RecordEnd::Nothing), "nothing");
}

TEST(RecorderRules, TheMeterFollowsLoudnessInDecibels) {
    SpeechTake take(kRate, 1000);
    take.add(std::vector<std::int16_t>(320, 0));
    EXPECT_EQ(take.level(), 0.0);
    take.add(std::vector<std::int16_t>(320, 32767));
    EXPECT_NEAR(take.level(), 1.0, 0.01);
    take.add(std::vector<std::int16_t>(320, 1036));  // -30 dBFS
    EXPECT_NEAR(take.level(), 0.5, 0.01);
}

namespace {

class RepeatAfterMe : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        QApplication::setActiveWindow(control(0));
    }
    // A microphone that hears what the file holds: the pupil speaking, or a quiet room.
    std::shared_ptr<media::FileSoundInput> microphone(const std::vector<std::int16_t>& voice) {
        const std::string path = testing::TempDir() + "voice.raw";
        if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
            for (std::int16_t v : voice) {
                const std::uint8_t b[2] = {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF)};
                std::fwrite(b, 1, 2, f);
            }
            std::fclose(f);
        }
        auto mic = std::make_shared<media::FileSoundInput>(path);
        std::remove(path.c_str());
        set_sound_input(mic);
        return mic;
    }
    static void ctrl_t() { QTest::keyClick(control(0), Qt::Key_T, Qt::ControlModifier); }
    static void end_clip() { notify_clip_ended(test::sound().played.back().id); }
    static std::vector<std::uint8_t> clip_of(int n) {
        const Blob& b = content::spread().current_sounds.at(n);
        return {b.begin(), b.end()};
    }
    // Lets the microphone deliver until the recording ends (or 20 s have passed).
    static void speak_until_it_ends(media::FileSoundInput& mic) {
        for (int i = 0; i < 1000 && mic.capturing() && reading::repeat_after_me_busy(); ++i) {
            mic.deliver(20);
            if (test::sound().recordings.size() > 0 || !mic.capturing()) break;
        }
    }
    static QWidget* panel() { return control(mw::图片框底图2)->findChild<QWidget*>(QStringLiteral("tapbook-recorder")); }
    static QString panel_status() {
        auto* l = panel() ? panel()->findChild<QLabel*>(QStringLiteral("tapbook-recorder-status")) : nullptr;
        return l && l->isVisibleTo(panel()) ? l->text() : QString();
    }
    static QPushButton* control_named(const char* utf8) {
        if (!panel()) return nullptr;
        for (QPushButton* b : panel()->findChildren<QPushButton*>())
            if (b->text() == QString::fromUtf8(utf8)) return b;
        return nullptr;
    }
};

}  // namespace

TEST_F(RepeatAfterMe, CtrlTPlaysTheSentenceRecordsThePupilAndPlaysBothBack) {
    auto mic = microphone(joined({quiet(200), tone(900), quiet(2000)}));
    press(hotspot(5));
    test::LogCapture log;
    ctrl_t();
    EXPECT_EQ(test::sound().played.back().bytes, clip_of(5));
    EXPECT_FALSE(mic->capturing()) << "the voice first";
    end_clip();
    EXPECT_TRUE(log.has("sound record start 16000 1"));
    ASSERT_TRUE(mic->capturing());
    ASSERT_NE(panel(), nullptr);
    EXPECT_TRUE(panel()->isVisible());
    EXPECT_NE(control_named("停止"), nullptr);

    speak_until_it_ends(*mic);
    const auto stops = log.starting("sound record stop ");
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].substr(stops[0].size() - 8), " silence");
    ASSERT_EQ(test::sound().recordings.size(), 1u);
    const auto& rec = test::sound().recordings[0];
    EXPECT_EQ(rec.rate, 16000);
    EXPECT_NEAR(static_cast<double>(rec.samples.size()) / 16, 200 + 900 + 800, 40);
    EXPECT_EQ(rec.samples[3200 + 100], tone(900)[100]) << "it plays what was captured";
    EXPECT_TRUE(log.has("sound play recording " + std::to_string(rec.samples.size() / 16)));
    EXPECT_EQ(reading::last_recording().size(), rec.samples.size());

    notify_clip_ended(rec.id);  // the recording has played: the model follows
    EXPECT_EQ(test::sound().played.back().bytes, clip_of(5));
    for (const char* c : {"听我的", "听原音", "再录一次"}) {
        QPushButton* b = control_named(c);
        ASSERT_NE(b, nullptr) << c;
        EXPECT_TRUE(b->isVisible()) << c;
        EXPECT_TRUE(panel()->rect().contains(b->geometry())) << c << ": the card holds its controls";
    }

    control_named("听我的")->click();
    EXPECT_EQ(test::sound().recordings.size(), 2u);
    control_named("再录一次")->click();
    EXPECT_TRUE(mic->capturing());
    EXPECT_TRUE(reading::last_recording().empty()) << "a new recording drops the last one";
}

TEST_F(RepeatAfterMe, NoSpeechSaysSoAndTheStopControlEndsARecording) {
    auto mic = microphone({});
    reading::start_repeat_after_me({mw::window, hotspot(3), static_cast<std::uint32_t>(UnitType::TransLabel)});
    const std::uint64_t clip_ms = media::clip_duration_ms(clip_of(3));
    test::LogCapture log;
    end_clip();
    for (std::uint64_t t = 0; t < 2 * clip_ms + 1600 && mic->capturing(); t += 20) mic->deliver(20);
    EXPECT_TRUE(log.has("sound record stop " + std::to_string(2 * clip_ms + 1500) + " nothing"));
    EXPECT_EQ(panel_status(), QString::fromUtf8("没有听到声音，再试一次吧"));
    EXPECT_TRUE(test::sound().recordings.empty());
    EXPECT_EQ(control_named("听我的"), nullptr);

    mic = microphone(tone(3000));
    control_named("再录一次")->click();
    ASSERT_TRUE(mic->capturing());
    mic->deliver(300);
    control_named("停止")->click();
    EXPECT_FALSE(mic->capturing());
    EXPECT_TRUE(log.has("sound record stop 300 stopped"));
    EXPECT_EQ(test::sound().recordings.size(), 1u);
}

TEST_F(RepeatAfterMe, WithoutAMicrophoneTheEntriesAreDisabledAndTheRestWorks) {
    QMenu* menu = open_menu(control(hotspot(5)));
    ASSERT_NE(menu, nullptr);
    QAction* repeat = nullptr;
    for (QAction* a : menu->actions())
        if (a->text().startsWith(QString::fromUtf8("跟读这句"))) repeat = a;
    ASSERT_NE(repeat, nullptr);
    EXPECT_FALSE(repeat->isEnabled());
    EXPECT_TRUE(repeat->text().contains(QString::fromUtf8("没有找到麦克风")));
    menu->close();
    test::LogCapture log;
    press(hotspot(5));
    ctrl_t();
    EXPECT_EQ(panel_status(), QString::fromUtf8("没有找到麦克风"));
    EXPECT_TRUE(log.starting("sound record").empty());
    press(hotspot(6));  // reading goes on as before
    EXPECT_EQ(test::sound().played.back().bytes, clip_of(6));
    EXPECT_FALSE(panel()->isVisible());
}

TEST_F(RepeatAfterMe, AMicrophoneLostMidwayEndsCleanlyAndOnePluggedInLaterIsFound) {
    auto mic = microphone(tone(5000));
    press(hotspot(5));
    ctrl_t();
    end_clip();
    mic->deliver(400);
    mic->unplug();
    test::LogCapture log;
    test::advance_time(300);
    EXPECT_TRUE(log.has("sound record stop 400 lost"));
    EXPECT_EQ(panel_status(), QString::fromUtf8("没有找到麦克风"));
    EXPECT_TRUE(test::sound().recordings.empty());

    ctrl_t();
    EXPECT_EQ(panel_status(), QString::fromUtf8("没有找到麦克风")) << "still unplugged";
    mic->plug();
    ctrl_t();
    end_clip();
    EXPECT_TRUE(log.has("sound record start 16000 1"));
}

TEST_F(RepeatAfterMe, APressElsewhereEndsTheRecordingAndClosingTheWindowDropsIt) {
    auto mic = microphone(joined({tone(600), quiet(2000)}));
    press(hotspot(5));
    ctrl_t();
    end_clip();
    mic->deliver(200);
    test::LogCapture log;
    press(hotspot(6));
    EXPECT_TRUE(log.has("sound record stop 200 stopped"));
    EXPECT_FALSE(mic->capturing());
    EXPECT_TRUE(test::sound().recordings.empty());
    EXPECT_FALSE(panel()->isVisible());

    ctrl_t();  // hotspot 6, pressed last
    EXPECT_EQ(test::sound().played.back().bytes, clip_of(6));
    end_clip();
    speak_until_it_ends(*mic);
    ASSERT_FALSE(reading::last_recording().empty());
    click(mw::超级按钮_退出);
    EXPECT_TRUE(reading::last_recording().empty());
}

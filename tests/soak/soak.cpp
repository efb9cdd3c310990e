// The soak driver: the real program, headless, under a long run of seeded random pupil actions.
// It presses anywhere on the window in front (hotspots, overlays, boxes, margins, buttons),
// types ASCII, Chinese and characters GBK cannot hold, picks courses, turns pages, presses full
// screen, starts from the welcome window and leaves the main window, and so opens, plays and
// closes every window the toolbar leads to. Input goes in as the window system delivers it, so
// modality and the widget under the pointer decide who gets it, as for a real pupil.
//
//   tapbook_soak [--actions N] [--seed S] [--sound fake|silent|sdl] [--screen WxH] [--report-sound]
//                [--memory-every N]
//
// It fails (exit status 1 to 3, with the seed and the last 50 actions) on a crash, a sanitizer
// report, a run-time error box, the event loop stalled for more than 5 s of real time, or, in a
// plain build of at least 5,000 actions, resident memory grown by more than 5 MB between the end
// of the first tenth of the run and its end.
#include <malloc.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/startup.hpp"
#include "reading/book_view.hpp"
#include "content/audio/device.hpp"
#include "content/audio/players.hpp"
#include "runtime/error.hpp"
#include "runtime/platform.hpp"
#include "ui/unit_ids.hpp"
#include "ui/widgets/widgets.hpp"

// The window system's own entry points for input, as QTest uses them: delivered at once, through
// modality and the widget under the pointer.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global, Qt::MouseButtons state,
                                      Qt::MouseButton button, QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* w, QEvent::Type t, int k, Qt::KeyboardModifiers mods, const QString& text = QString(),
                                    bool autorep = false, ushort count = 1);

extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

using namespace tb;
namespace mw = tb::ids::main_window;
namespace wel = tb::ids::welcome;
namespace fw = tb::ids::fill_in_window;
namespace ow = tb::ids::ordering_window;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

constexpr int kStallMs = 5000;
constexpr long kMemoryGrowthLimitKb = 5 * 1024;
constexpr long kMemoryJudgedFrom = 5000;  // actions; shorter runs have not warmed their caches

// ---- the record of the run, written out on failure (also from signal handlers) --------------

constexpr int kKept = 50;
constexpr int kLine = 200;
struct Log {
    char lines[kKept][kLine] = {};
    std::atomic<long> count{0};
    unsigned long long seed = 0;
    std::atomic<bool> finished{false};
};
Log g_log;

void write_err(const char* s) { (void)!write(2, s, std::strlen(s)); }

void dump_log(const char* why) {
    char head[256];
    std::snprintf(head, sizeof head, "\ntapbook_soak: FAILED (%s) with --seed %llu after %ld actions; the last actions:\n", why,
                  g_log.seed, g_log.count.load());
    write_err(head);
    const long n = g_log.count.load();
    for (long i = std::max(0L, n - kKept); i < n; ++i) {
        write_err("  ");
        write_err(g_log.lines[i % kKept]);
        write_err("\n");
    }
}

[[noreturn]] void fail(const char* why, int status) {
    std::fflush(stdout);  // what the run printed so far goes before the record
    dump_log(why);
    std::_Exit(status);
}

void on_fatal_signal(int sig) {
    dump_log(strsignal(sig));
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void on_sanitizer_death() { dump_log("sanitizer report above"); }

// The offscreen platform says on every modal window that it cannot raise windows or grab the
// keyboard: noise in a run of thousands of windows.
void quiet_platform_notes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support"))) return;
    write_err((message.toLocal8Bit() + "\n").constData());
    if (type == QtFatalMsg) std::abort();
}

std::int64_t real_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

long resident_kb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// ---- sound --------------------------------------------------------------------------------

// Counts what the program asks for; plays nothing.
class CountingSound : public SoundOutput {
public:
    bool play(std::span<const std::uint8_t> clip, bool) override {
        ++plays;
        return !clip.empty();
    }
    void stop_all() override { ++stops; }
    long plays = 0, stops = 0;
};

// ---- the driver ---------------------------------------------------------------------------

struct Options {
    long actions = 20000;
    unsigned long long seed = 0;
    std::string sound = "silent";
    int screen_w = 0, screen_h = 0;
    bool report_sound = false;
    long memory_every = 0;  // print resident memory every that many actions (0: never)
};

class Driver {
public:
    explicit Driver(const Options& o) : opt_(o), rng_(o.seed) {}

    void start() { QTimer::singleShot(0, [this] { tick(); }); }
    long memory_first_tenth_kb = 0;

private:
    // One action per turn of whichever event loop is running: the next turn is asked for before
    // the action, so that an action that opens a modal window goes on inside its loop.
    void tick() {
        const int level = QThread::currentThread()->loopLevel();
        if (!levels_.empty() && levels_.back() >= level) {
            // Inside the running action's own event processing (not a new modal loop): later.
            QTimer::singleShot(1, [this] { tick(); });
            return;
        }
        heartbeat.store(real_ms());
        if (done_ >= opt_.actions) return finish();
        QTimer::singleShot(0, [this] { tick(); });
        levels_.push_back(level);
        act();
        levels_.pop_back();
        heartbeat.store(real_ms());
        ++done_;
        if (done_ == opt_.actions / 10) memory_first_tenth_kb = trimmed_resident_kb();
        if (opt_.memory_every > 0 && done_ % opt_.memory_every == 0) {
            std::printf("tapbook_soak: %ld actions, resident memory %ld kB\n", done_, trimmed_resident_kb());
            std::fflush(stdout);
        }
        if (opt_.report_sound && !reported_ && sounding()) {
            reported_ = true;
            std::printf("sounding\n");
            std::fflush(stdout);
        }
    }

    // Closes the windows from the front, one per turn, so each modal loop unwinds; then quits.
    void finish() {
        for (std::uint32_t w : {fw::window, ow::window, mw::window}) {
            if (ui::window_shown(w)) {
                note("end: close %s", window_name(w));
                ui::destroy_window(w);
                QTimer::singleShot(0, [this] { tick(); });
                return;
            }
        }
        QCoreApplication::quit();
    }

public:
    std::atomic<std::int64_t> heartbeat{real_ms()};
    static long trimmed_resident_kb() {
        malloc_trim(0);
        return resident_kb();
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }

    template <typename... A>
    void note(const char* fmt, A... a) {
        const long n = g_log.count.load();
        char* line = g_log.lines[n % kKept];
        int used = std::snprintf(line, kLine, "#%ld ", n + 1);
        if constexpr (sizeof...(A) == 0) std::snprintf(line + used, std::size_t(kLine - used), "%s", fmt);
        else std::snprintf(line + used, std::size_t(kLine - used), fmt, a...);
        g_log.count.store(n + 1);
    }

    static const char* window_name(std::uint32_t w) {
        if (w == mw::window) return "main";
        if (w == fw::window) return "fill-in";
        if (w == ow::window) return "ordering";
        return "welcome";
    }

    // The window in front: the innermost modal one, else the welcome window.
    std::uint32_t front() const {
        for (std::uint32_t w : {fw::window, ow::window, mw::window})
            if (ui::window_shown(w)) return w;
        return wel::window;
    }

    // The unit a control belongs to, for the record ("-" for a part of a control).
    std::string unit_name(std::uint32_t window, const QWidget* w) const {
        ui::WindowTemplate* t = ui::find_window(window);
        for (; w && t; w = w->parentWidget()) {
            for (int i = 0; i < t->record_count(); ++i) {
                const std::uint32_t id = t->unit_id_at(i);
                if (ui::control_of(window, id) == w) return utf8(t->record_at(i).name);
            }
        }
        return "-";
    }

    std::uint32_t timestamp() { return stamp_ += 700; }  // far enough apart: no double clicks unless asked

    void mouse(QWidget* frame, QPoint at, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
        QWindow* win = frame->windowHandle();
        if (!win) return;
        qt_handleMouseEvent(win, at, frame->mapToGlobal(at), held, button, type, Qt::NoModifier, int(timestamp()));
    }

    void click_at(QWidget* frame, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        mouse(frame, at, QEvent::MouseMove, Qt::NoButton, {});
        mouse(frame, at, QEvent::MouseButtonPress, button, button);
        // The frame may be gone when a modal window it opened has closed: release on what is left.
        if (QPointer<QWidget>(frame)) mouse(frame, at, QEvent::MouseButtonRelease, button, {});
    }

    QWidget* frame_of(std::uint32_t window) const { return ui::control_of(window, 0); }

    // Visible controls of the window in front, as places to press.
    std::vector<QWidget*> visible_controls(QWidget* frame) const {
        std::vector<QWidget*> out;
        for (QWidget* w : frame->findChildren<QWidget*>())
            if (w->isVisible() && w->window() == frame && w->width() > 0 && w->height() > 0) out.push_back(w);
        return out;
    }

    void press_anywhere(std::uint32_t window, QWidget* frame) {
        const QPoint at(pick(std::max(1, frame->width())), pick(std::max(1, frame->height())));
        const Qt::MouseButton button = chance(0.1) ? Qt::RightButton : Qt::LeftButton;
        QPointer<QWidget> target = frame->childAt(at);
        note("press %s (%d,%d)%s on %s", window_name(window), at.x(), at.y(), button == Qt::RightButton ? " right" : "",
             unit_name(window, target).c_str());
        click_at(frame, at, button);
    }

    void press_control(std::uint32_t window, QWidget* frame) {
        auto controls = visible_controls(frame);
        if (controls.empty()) return press_anywhere(window, frame);
        QWidget* c = controls[std::size_t(pick(int(controls.size())))];
        const QPoint inside(pick(c->width()), pick(c->height()));
        const QPoint at = c->mapTo(frame, inside);
        note("press %s %s at (%d,%d)", window_name(window), unit_name(window, c).c_str(), at.x(), at.y());
        if (chance(0.05)) {  // a double click
            click_at(frame, at);
            stamp_ -= 650;
        }
        click_at(frame, at);
    }

    void drag(std::uint32_t window, QWidget* frame) {
        auto controls = visible_controls(frame);
        if (controls.empty()) return;
        QWidget* c = controls[std::size_t(pick(int(controls.size())))];
        const QPoint from = c->mapTo(frame, QPoint(pick(c->width()), pick(c->height())));
        const QPoint to(pick(frame->width() + 200) - 100, pick(frame->height() + 200) - 100);
        note("drag %s %s (%d,%d) to (%d,%d)", window_name(window), unit_name(window, c).c_str(), from.x(), from.y(), to.x(),
             to.y());
        QPointer<QWidget> f = frame;
        mouse(frame, from, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 4 && f; ++step)
            mouse(frame, from + (to - from) * step / 4, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
        if (f) mouse(frame, to, QEvent::MouseButtonRelease, Qt::LeftButton, {});
    }

    QString random_text() {
        static const char* const kChinese[] = {"你", "好", "苹", "果", "猫", "狗", "学", "书", "。", "，", "　"};
        static const char* const kOutsideGbk[] = {"😀", "𠀀", "한", "ﬁ", "\u200b", "🐶"};
        QString s;
        const int n = 1 + pick(8);
        for (int i = 0; i < n; ++i) {
            switch (pick(3)) {
                case 0: s += QChar(char(32 + pick(95))); break;
                case 1: s += QString::fromUtf8(kChinese[pick(int(std::size(kChinese)))]); break;
                default: s += QString::fromUtf8(kOutsideGbk[pick(int(std::size(kOutsideGbk)))]); break;
            }
        }
        return s;
    }

    void type(std::uint32_t window, QWidget* frame) {
        QWindow* win = frame->windowHandle();
        if (!win) return;
        QPointer<QWidget> f = frame;
        const int kind = pick(4);
        if (kind == 0) {  // a special key
            static const Qt::Key kKeys[] = {Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_Escape, Qt::Key_Space,
                                            Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Delete};
            const Qt::Key k = kKeys[pick(int(std::size(kKeys)))];
            note("key %s 0x%x", window_name(window), unsigned(k));
            const QString text = k == Qt::Key_Return ? "\r" : k == Qt::Key_Space ? " " : k == Qt::Key_Tab ? "\t" : "";
            qt_handleKeyEvent(win, QEvent::KeyPress, k, Qt::NoModifier, text);
            if (f) qt_handleKeyEvent(win, QEvent::KeyRelease, k, Qt::NoModifier, text);
            return;
        }
        const QString text = random_text();
        if (kind == 1) {  // committed by an input method, as Chinese is typed
            QWidget* focus = QApplication::focusWidget();
            note("input method %s \"%s\" into %s", window_name(window), text.toUtf8().constData(),
                 focus ? unit_name(window, focus).c_str() : "nothing");
            if (!focus || focus->window() != frame) return;
            QInputMethodEvent e;
            e.setCommitString(text);
            QApplication::sendEvent(focus, &e);
            return;
        }
        note("type %s \"%s\"", window_name(window), text.toUtf8().constData());
        for (QChar ch : text) {
            if (!f) return;
            const int key = ch.isLetterOrNumber() && ch.unicode() < 128 ? ch.toUpper().unicode() : int(Qt::Key_unknown);
            qt_handleKeyEvent(win, QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
            if (f) qt_handleKeyEvent(win, QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        }
    }

    void press_unit(std::uint32_t window, std::uint32_t unit, const char* what) {
        QWidget* frame = frame_of(window);
        QWidget* c = ui::control_of(window, unit);
        if (!frame || !c || !c->isVisible()) return;
        note("%s (%s)", what, c->isEnabled() ? "enabled" : "disabled");
        click_at(frame, c->mapTo(frame, QPoint(c->width() / 2, c->height() / 2)));
    }

    void choose_course() {
        auto* combo = qobject_cast<QComboBox*>(ui::control_of(mw::window, mw::组合框课程选择));
        if (!combo || !combo->isVisible() || !combo->isEnabled() || combo->count() == 0) return;
        const int item = pick(combo->count());
        note("course %d", item);
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }

    void close_by_system(std::uint32_t window) {
        QWidget* frame = frame_of(window);
        if (!frame) return;
        note("system closes %s", window_name(window));
        frame->close();
    }

    void act() {
        ++clock_ms;  // the program's clock moves on between presses
        clock_ms += std::uint64_t(pick(3000));
        const std::uint32_t window = front();
        ++in_front[window == wel::window ? 0 : window == mw::window ? 1 : window == fw::window ? 2 : 3];
        QWidget* frame = frame_of(window);
        if (!frame) return;
        if (window == wel::window) {
            // The welcome window: mostly start, sometimes look around its pages.
            if (chance(0.7)) {
                ui::set_property(wel::window, wel::高级选择夹1, ui::prop::kCurrentPage, 0);
                return press_unit(wel::window, wel::超级按钮_开始学习, "start");
            }
            return chance(0.5) ? press_control(window, frame) : press_anywhere(window, frame);
        }
        const int r = pick(1000);
        if (window == mw::window) {
            static const std::uint32_t kToolbar[] = {mw::超级按钮_上一页, mw::超级按钮_下一页, mw::超级按钮_中文提示,
                                                     mw::超级按钮_练一练, mw::超级按钮_找一找, mw::超级按钮_填一填,
                                                     mw::超级按钮_排序, mw::超级按钮_背单词};
            if (r < 4) return press_unit(mw::window, mw::超级按钮_全屏, "full screen");
            if (r < 7) return press_unit(mw::window, mw::超级按钮_退出, "exit");
            if (r < 8) return close_by_system(mw::window);
            if (r < 150) return press_unit(mw::window, kToolbar[pick(int(std::size(kToolbar)))], "toolbar");
            if (r < 190) return choose_course();
        } else if (r < 15) {
            return close_by_system(window);
        }
        if (r < 560) return press_control(window, frame);
        if (r < 760) return press_anywhere(window, frame);
        if (r < 800) return drag(window, frame);
        return type(window, frame);
    }

    bool sounding() const { return players && players->players().player_count() > 0; }

    Options opt_;
    std::mt19937_64 rng_;
    long done_ = 0;
    std::vector<int> levels_;
    std::uint32_t stamp_ = 1000;
    bool reported_ = false;

public:
    std::uint64_t clock_ms = 1000000;
    std::array<long, 4> in_front{};  // actions on the welcome, main, fill-in and ordering windows
    std::shared_ptr<media::PlayerSoundOutput> players;
};

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--actions") o.actions = std::atol(value().c_str());
        else if (a == "--seed") o.seed = std::strtoull(value().c_str(), nullptr, 10);
        else if (a == "--sound") o.sound = value();
        else if (a == "--screen") {
            const std::string v = value();
            if (std::sscanf(v.c_str(), "%dx%d", &o.screen_w, &o.screen_h) != 2) return false;
        } else if (a == "--report-sound") o.report_sound = true;
        else if (a == "--memory-every") o.memory_every = std::atol(value().c_str());
        else return false;
    }
    return o.actions >= 0 && (o.sound == "fake" || o.sound == "silent" || o.sound == "sdl");
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    opt.seed = std::random_device{}();
    if (!parse(argc, argv, opt)) {
        std::fprintf(stderr, "usage: tapbook_soak [--actions N] [--seed S] [--sound fake|silent|sdl] [--screen WxH] [--report-sound] "
                     "[--memory-every N]\n");
        return 64;
    }
    g_log.seed = opt.seed;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(sig, on_fatal_signal);
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(on_sanitizer_death);

    qInstallMessageHandler(quiet_platform_notes);
    QApplication app(argc, argv);
    app::start_program();  // the program's own start-up, welcome window shown

    Driver driver(opt);
    // The seams a headless run replaces: time that moves only by the program's sleeps and the
    // driver's steps, message boxes answered at random, and the sound chosen.
    auto answers = std::make_shared<std::mt19937>(static_cast<std::uint32_t>(opt.seed ^ 0x5eed));
    set_sleep([&driver](int ms) {
        if (ms > 0) driver.clock_ms += std::uint64_t(ms);
    });
    set_clock([&driver] { return driver.clock_ms; });
    set_message_box([answers](const Text&, const Text&, MsgButtons buttons, MsgIcon) {
        if (buttons == MsgButtons::Ok) return kMsgOk;
        return (*answers)() % 2 ? kMsgYes : kMsgNo;
    });
    set_runtime_error_reporter([](int code, const Text& message) {
        const std::string text = utf8(runtime_error_text(code, message));
        write_err(("\n" + text + "\n").c_str());
        fail("a run-time error box", 3);
    });
    if (opt.screen_w > 0) set_screen([s = ScreenSize{opt.screen_w, opt.screen_h}] { return s; });
    std::shared_ptr<CountingSound> counting;
    if (opt.sound == "fake") {
        counting = std::make_shared<CountingSound>();
        set_sound_output(counting);
    } else {
        // Real players, on a silent device or on the one SDL opens (as at start-up, which opened
        // one already: it goes first, one device per process).
        set_sound_output(nullptr);
        auto open = opt.sound == "sdl" ? media::DeviceOpener(&media::open_default_device)
                                       : media::DeviceOpener([] { return media::make_null_device(48000); });
        driver.players = std::make_shared<media::PlayerSoundOutput>(std::make_shared<media::ClipPlayers>(open()), open);
        set_sound_output(driver.players);
    }

    std::printf("tapbook_soak: --seed %llu --actions %ld --sound %s\n", opt.seed, opt.actions, opt.sound.c_str());
    std::fflush(stdout);

    std::thread watchdog([&driver] {
        while (!g_log.finished.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (!g_log.finished.load() && real_ms() - driver.heartbeat.load() > kStallMs)
                fail("the event loop stalled for more than 5 s", 2);
        }
    });

    const auto began = std::chrono::steady_clock::now();
    driver.start();
    app.exec();
    ui::close_all_windows();
    const long memory_end_kb = Driver::trimmed_resident_kb();
    g_log.finished.store(true);
    watchdog.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    set_sound_output(nullptr);  // waits for every player to end

    std::printf("tapbook_soak: %ld actions in %.1f s (on the welcome window %ld, main %ld, fill-in %ld, ordering %ld; "
                "%d full-screen rebuilds)\n",
                g_log.count.load(), seconds, driver.in_front[0], driver.in_front[1], driver.in_front[2], driver.in_front[3],
                reading::book_view().full_screen_presses);
    std::printf("tapbook_soak: resident memory %ld kB after the first tenth, %ld kB at the end\n", driver.memory_first_tenth_kb,
                memory_end_kb);
    if (!kSanitized && opt.actions >= kMemoryJudgedFrom && memory_end_kb - driver.memory_first_tenth_kb > kMemoryGrowthLimitKb)
        fail("resident memory grew by more than 5 MB between the first tenth and the end", 1);
    return 0;
}

// Faults the program must survive: a sound device that is missing at start or lost in the middle
// of a clip, and SIGTERM while a clip plays. The whole-program cases run the real program
// headless through the soak driver, in a process of its own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "content/audio/players.hpp"
#include "content/catalogue.hpp"
#include "support/env_var.hpp"
#include "support/fake_audio_device.hpp"

extern char** environ;

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

using tb::test::EnvVar;

// A device that can be unplugged.
class UnpluggableDevice : public tb::test::FakeAudioDevice {
public:
    bool lost() const override { return gone; }
    std::atomic<bool> gone = false;
};

TEST(AudioFaults, PlayersOfALostDeviceEndAtOnceAndNoNewOneStarts) {
    auto device = std::make_shared<UnpluggableDevice>();
    tb::media::ClipPlayers players(device);  // real time: the stall timeout alone would take 8.9 s
    ASSERT_TRUE(players.play(tb::catalogue::page_clips(0).at(0), true));
    ASSERT_TRUE(device->wait_submits(1));
    device->gone = true;
    const auto began = std::chrono::steady_clock::now();
    EXPECT_TRUE(players.wait_idle(5000));
    EXPECT_LT(std::chrono::steady_clock::now() - began, 2s);
    EXPECT_FALSE(players.play(tb::catalogue::page_clips(0).at(1), false));
    EXPECT_EQ(players.player_count(), 0u);
}

TEST(AudioFaults, ADeviceLostInTheMiddleOfAClipEndsItAndTheNextClipOpensADeviceAgain) {
    // SDL's disk driver writing into a pipe: when the reader goes, its next write fails and SDL
    // reports the device lost, as when headphones are pulled out.
    const fs::path dir = fs::temp_directory_path() / ("tapbook-lost-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path pipe = dir / "device.fifo";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    auto old_sigpipe = std::signal(SIGPIPE, SIG_IGN);  // the write fails instead of ending the process
    {
        EnvVar driver("SDL_AUDIODRIVER", "disk");
        EnvVar file("SDL_DISKAUDIOFILE", pipe.string());
        EnvVar delay("SDL_DISKAUDIODELAY", "0");
        int reopened = 0;
        tb::media::PlayerSoundOutput out(std::make_shared<tb::media::ClipPlayers>(tb::media::open_default_device()), [&] {
            ++reopened;
            return tb::media::open_default_device();
        });
        ASSERT_TRUE(out.play(tb::catalogue::page_clips(0).at(0), true));
        // The clip is sounding: something other than silence comes through the pipe.
        bool heard = false;
        char buf[4096];
        for (auto until = std::chrono::steady_clock::now() + 10s; !heard && std::chrono::steady_clock::now() < until;) {
            pollfd p{reader, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            const ssize_t n = read(reader, buf, sizeof buf);
            for (ssize_t i = 0; i < n; ++i) heard |= buf[i] != 0;
        }
        ASSERT_TRUE(heard);
        close(reader);
        reader = -1;
        // The looping clip ends at once, not after the stall timeout.
        EXPECT_TRUE(out.players().wait_idle(3000));
        EXPECT_TRUE(out.players().device_lost());
        // The next clip opens a device again (here a file).
        EnvVar file_again("SDL_DISKAUDIOFILE", (dir / "out.raw").string());
        EXPECT_TRUE(out.play(tb::catalogue::page_clips(0).at(1), false));
        EXPECT_EQ(reopened, 1);
        EXPECT_TRUE(out.players().wait_idle(10000));
    }
    std::signal(SIGPIPE, old_sigpipe);
    if (reader >= 0) close(reader);
    fs::remove_all(dir);
}

// The real program run by the soak driver in a process of its own.
class Program {
public:
    Program(std::vector<std::string> args, const std::map<std::string, std::string>& env) {
        std::map<std::string, std::string> all;
        for (char** e = environ; *e; ++e) {
            const std::string kv = *e;
            const auto eq = kv.find('=');
            if (eq != std::string::npos) all[kv.substr(0, eq)] = kv.substr(eq + 1);
        }
        all["QT_QPA_PLATFORM"] = "offscreen";
        for (const auto& [k, v] : env) all[k] = v;
        std::vector<std::string> env_strings;
        for (const auto& [k, v] : all) env_strings.push_back(k + "=" + v);
        args.insert(args.begin(), TAPBOOK_SOAK_EXE);
        std::vector<char*> argv, envp;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : env_strings) envp.push_back(e.data());
        envp.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        out_ = out[0];
    }
    ~Program() {
        if (pid_ > 0 && !ended_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
    }
    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Reads its output until a line holds `text`; false at its end or after the timeout.
    bool wait_for_output(const std::string& text, std::chrono::seconds timeout) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < until) {
            if (output_.find(text) != std::string::npos) return true;
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char buf[512];
            const ssize_t n = read(out_, buf, sizeof buf);
            if (n <= 0) return output_.find(text) != std::string::npos;
            output_.append(buf, std::size_t(n));
        }
        return false;
    }
    // Its wait status, or -1 when it has not ended within the timeout.
    int wait(std::chrono::seconds timeout) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < until) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                ended_ = true;
                return status;
            }
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }
    const std::string& output() const { return output_; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    bool ended_ = false;
    std::string output_;
};

TEST(ProgramFaults, WithoutASoundDeviceTheProgramRunsSilentlyAndNeverHangs) {
    Program p({"--actions", "300", "--seed", "7", "--sound", "sdl"}, {{"SDL_AUDIODRIVER", "no-such-driver"}});
    ASSERT_TRUE(p.started());
    const int status = p.wait(120s);
    ASSERT_NE(status, -1) << "the program hung";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

TEST(ProgramFaults, SigtermWhileAClipPlaysEndsTheProgramAtOnce) {
    Program p({"--actions", "100000000", "--seed", "11", "--sound", "sdl", "--report-sound"}, {{"SDL_AUDIODRIVER", "dummy"}});
    ASSERT_TRUE(p.started());
    ASSERT_TRUE(p.wait_for_output("sounding", 120s)) << p.output();
    ASSERT_EQ(kill(p.pid(), SIGTERM), 0);
    const int status = p.wait(10s);
    ASSERT_NE(status, -1) << "the program did not end on SIGTERM";
    const bool by_signal = WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM;
    const bool cleanly = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    EXPECT_TRUE(by_signal || cleanly) << "status " << status;
}

}  // namespace

// The test program's entry: a headless Qt application and fresh platform fakes for every test.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "support/fakes.hpp"

namespace {
class FakesPerTest : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { tb::test::install_fakes(); }
};
}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!getenv("XDG_RUNTIME_DIR")) {
        std::string dir = "/tmp/tapbook-test-xdg";
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FakesPerTest);
    return RUN_ALL_TESTS();
}

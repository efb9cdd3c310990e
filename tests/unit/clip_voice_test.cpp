// The clip bake's voices: the book's names said the way the pupils' teacher says them in both
// voices, and a clip that comes out the same byte for byte however it is made.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/tool_run.hpp"

namespace fs = std::filesystem;
using tb::test::read_file;

namespace {

std::string clipbake() { return std::string("'") + TAPBOOK_BINARY_DIR + "/clipbake'"; }

std::string run(const std::string& args) {
    const tb::test::ToolRun r = tb::test::run_tool(clipbake() + " " + args);
    EXPECT_EQ(r.exit_code, 0) << args << ": " << r.output;
    return r.output;
}

// The text in single quotes for the shell.
std::string quoted(const std::string& text) {
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string phones(const std::string& voice, const std::string& text) { return run("phones " + voice + " " + quoted(text)); }

TEST(ClipVoice, NamesAreSaidAsTheTeacherSaysThem) {
    for (const char* v : {"book", "praise"}) {
        SCOPED_TRACE(v);
        auto said = [v](const std::string& text) { return phones(v, text); };
        // Zhao as "jow", Tao Tao with the vowel of "now", Grandpa Wang with the vowel of "father".
        EXPECT_NE(said("Good morning, Miss Zhao.").find("m ih s jh aw"), std::string::npos);
        EXPECT_NE(said("Tao Tao is funny.").find("t aw t aw ih z"), std::string::npos);
        EXPECT_NE(said("Grandpa Wang has a farm.").find("w aa ng hh ae z"), std::string::npos);
        EXPECT_NE(said("Kai is five.").find("k ay ih z"), std::string::npos);
        EXPECT_NE(said("Her name is Huahua.").find("hh w aa hh w aa"), std::string::npos);
        // The possessive keeps the name's sound.
        EXPECT_NE(said("Miss Zhao's apple.").find("jh aw z ae"), std::string::npos);
        EXPECT_NE(said("Tao Tao's pencil box.").find("t aw t aw z p"), std::string::npos);
        // Words that are not names keep the dictionary's sound.
        EXPECT_NE(said("Sunny Hill School").find("s ah n iy hh ih l s k uw l"), std::string::npos);
    }
}

TEST(ClipVoice, AClipIsTheSameHoweverItIsMade) {
    // The bake's workers each make many clips in one process: a clip made after others must be
    // the clip made alone.
    const fs::path dir = fs::temp_directory_path() / ("tapbook-voice-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string text = "Tao Tao, how many pencils do you have?";
    run("one book stereo " + quoted((dir / "alone.wav").string()) + " " + quoted(text));
    {
        std::ofstream list(dir / "list");
        list << "book\tstereo\t" << (dir / "first.wav").string() << "\tIt is a long blue dress, Miss Zhao!\n";
        list << "praise\tmono\t" << (dir / "second.wav").string() << "\tWell done!\n";
        list << "book\tstereo\t" << (dir / "after.wav").string() << "\t" << text << "\n";
    }
    run("many " + quoted((dir / "list").string()));
    const std::string alone = read_file(dir / "alone.wav");
    EXPECT_GT(alone.size(), 3000u);
    // Compared as a whole (printing megabytes of bytes helps no one).
    EXPECT_TRUE(alone == read_file(dir / "after.wav"));
    EXPECT_TRUE(read_file(dir / "first.wav") != alone);
    fs::remove_all(dir);
}

}  // namespace

// The informational options and the program's tolerance of anything else on its command line.
#include <gtest/gtest.h>

#include "app/command_line.hpp"
#include "app/version.hpp"

using tb::app::CommandLine;
using tb::app::read_command_line;

namespace {
QStringList line(std::initializer_list<const char*> args) {
    QStringList out{QStringLiteral("/usr/bin/tapbook")};
    for (const char* a : args) out << QString::fromUtf8(a);
    return out;
}
}  // namespace

TEST(AppCommandLine, NothingOrAnythingUnknownStartsTheProgram) {
    EXPECT_EQ(read_command_line(line({})).action, CommandLine::Action::Run);
    EXPECT_EQ(read_command_line(QStringList{}).action, CommandLine::Action::Run);
    // A typo, a file handed over by a desktop, the toolkit's own options: all ignored.
    for (auto args : {line({"--verison"}), line({"/home/pupil/book.txt"}), line({"-platform", "xcb"}),
                      line({"--", "--version"}), line({"-x", "--style=fusion", "页"}),
                      line({"-reverse"}), line({"-session", "abc"}), line({"-display", ":0"})})
        EXPECT_EQ(read_command_line(args).action, CommandLine::Action::Run) << args.join(' ').toStdString();
}

TEST(AppCommandLine, VersionPrintsTheProjectVersion) {
    for (auto args : {line({"--version"}), line({"-v"}), line({"--unknown", "--version", "extra"})}) {
        CommandLine c = read_command_line(args);
        EXPECT_EQ(c.action, CommandLine::Action::ShowVersion);
        EXPECT_EQ(c.text, QStringLiteral("Tapbook %1\n").arg(tb::app::kVersion));
    }
}

TEST(AppCommandLine, HelpNamesTheOptionsAndTheDiagnosticLogSwitch) {
    for (auto args : {line({"--help"}), line({"-h"}), line({"--version", "--help"})}) {
        CommandLine c = read_command_line(args);
        ASSERT_EQ(c.action, CommandLine::Action::ShowHelp);
        EXPECT_TRUE(c.text.startsWith(QStringLiteral("Usage: tapbook [options]\n"))) << c.text.toStdString();
        EXPECT_TRUE(c.text.contains(QStringLiteral("--version")));
        EXPECT_TRUE(c.text.contains(QStringLiteral("QT_LOGGING_RULES=\"tapbook.*.debug=true\"")));
    }
}

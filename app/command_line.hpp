#pragma once
// The program's two informational options, read before any window or display is opened, so
// `tapbook --version` works on a machine without a screen. Anything else on the command line
// (the toolkit's own options, a file a desktop hands over, a typo) is ignored: Tapbook starts.
#include <QString>
#include <QStringList>

namespace tb::app {

struct CommandLine {
    enum class Action { Run, ShowVersion, ShowHelp };
    Action action = Action::Run;
    QString text;  // what to print for ShowVersion and ShowHelp
};

CommandLine read_command_line(const QStringList& arguments);

}  // namespace tb::app

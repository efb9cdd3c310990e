// Tapbook: start-up. Everything the program does after this runs in event handlers.
#include <QString>
#include <QStringList>
#include <cstdio>

#include "app/command_line.hpp"

int tapbook_main(int argc, char** argv);

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const tb::app::CommandLine line = tb::app::read_command_line(arguments);
    if (line.action != tb::app::CommandLine::Action::Run) {
        std::fputs(line.text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    return tapbook_main(argc, argv);
}

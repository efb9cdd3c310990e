#include "app/command_line.hpp"

#include <QCommandLineParser>
#include <QFileInfo>

#include "app/version.hpp"

namespace tb::app {

CommandLine read_command_line(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tapbook %1: a point-and-read companion for an English textbook.").arg(kVersion));
    const QCommandLineOption help({"h", "help"}, QStringLiteral("Show this help and quit."));
    const QCommandLineOption version({"v", "version"}, QStringLiteral("Show the version and quit."));
    parser.addOption(help);
    parser.addOption(version);
    // The toolkit's own options are single-dash words (-reverse, -session): read as letters they
    // would spell -v or -h.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Unknown options are not an error: the program takes no arguments and starts regardless.
    parser.parse(arguments);

    CommandLine out;
    if (parser.isSet(help)) {
        out.action = CommandLine::Action::ShowHelp;
        // The parser's own usage line names the program by its full path, or not at all before
        // the application object exists: name it as it was called.
        const QString name = arguments.isEmpty() ? QStringLiteral("tapbook") : QFileInfo(arguments.first()).fileName();
        const QString help = parser.helpText();
        out.text = QStringLiteral("Usage: %1 [options]").arg(name) + help.mid(help.indexOf(QLatin1Char('\n'))) +
                   QStringLiteral("\nDiagnostic log (every clip, handler, caption and message box, on standard error):\n"
                                  "  QT_LOGGING_RULES=\"tapbook.*.debug=true\" tapbook\n");
    } else if (parser.isSet(version)) {
        out.action = CommandLine::Action::ShowVersion;
        out.text = QStringLiteral("Tapbook %1\n").arg(kVersion);
    }
    return out;
}

}  // namespace tb::app

#include "app/command_line.h"

#include <cstdio>

namespace morvane {

QString version() { return QStringLiteral(MORVANE_VERSION); }

CommandLine::CommandLine(QString program, QString description)
    : program_(std::move(program)),
      help_({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help and quits.")),
      version_({QStringLiteral("v"), QStringLiteral("version")},
               QStringLiteral("Shows the name and version and quits.")) {
    parser_.setApplicationDescription(description);
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(help_);
    parser_.addOption(version_);
}

QString CommandLine::help() const {
    // Without an application object the parser cannot know the program's
    // name, and says "<executable_name>".
    QString text = parser_.helpText();
    text.replace(QStringLiteral("<executable_name>"), program_);
    return text;
}

int CommandLine::error(const QString& what) const {
    std::fprintf(stderr, "%s: %s (see %s --help)\n", qPrintable(program_), qPrintable(what), qPrintable(program_));
    return 2;
}

std::optional<int> CommandLine::read(int argc, char** argv, int most_positional) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.isEmpty()) arguments << program_;
    if (!parser_.parse(arguments)) {
        const QStringList unknown = parser_.unknownOptionNames();
        if (!unknown.isEmpty()) {
            // Named as it was typed: -x, --x or --x=value.
            const QString name = unknown.first();
            QString typed = QStringLiteral("--") + name;
            for (const QString& argument : arguments.mid(1)) {
                if (argument == QStringLiteral("--")) break;
                QString bare = argument;
                while (bare.startsWith(u'-')) bare.remove(0, 1);
                if (argument.startsWith(u'-') && bare.section(u'=', 0, 0) == name) {
                    typed = argument.section(u'=', 0, 0);
                    break;
                }
            }
            return error(QStringLiteral("unknown option '%1'").arg(typed));
        }
        return error(parser_.errorText());
    }
    if (parser_.isSet(help_)) {
        std::fputs(qPrintable(help()), stdout);
        return 0;
    }
    if (parser_.isSet(version_)) {
        std::printf("%s %s\n", qPrintable(program_), qPrintable(version()));
        return 0;
    }
    const QStringList extra = parser_.positionalArguments();
    if (most_positional >= 0 && extra.size() > most_positional)
        return error(QStringLiteral("unexpected argument '%1'").arg(extra.at(most_positional)));
    return std::nullopt;
}

}  // namespace morvane

#pragma once
// The command line of the game's Qt programs. It is read before the
// application object exists, so that --help and --version answer on a
// machine without a display too.
//
//     CommandLine line("morvane", "Plays ...");
//     line.parser().addPositionalArgument("code", "...", "[CODE]");
//     if (auto status = line.read(argc, argv, 1)) return *status;
//     ... line.positional() ...

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>

namespace morvane {

// The game's version, as --version and the About texts give it.
QString version();

class CommandLine {
public:
    // `program` is the command's name; `description` what it does, shown by
    // --help under the usage line.
    CommandLine(QString program, QString description);

    // Add the program's own options and positional arguments here before
    // read(); --help and --version are there already.
    QCommandLineParser& parser() { return parser_; }

    // Reads argv. Returns nothing when the program goes on; otherwise the
    // exit status it should end with at once: 0 after printing the help or
    // the version on standard output, 2 after a one-line error on standard
    // error naming the unknown option or the argument too many. At most
    // `most_positional` positional arguments are taken (-1: any number).
    std::optional<int> read(int argc, char** argv, int most_positional = 0);

    QStringList positional() const { return parser_.positionalArguments(); }

    // --help's text.
    QString help() const;

private:
    int error(const QString& what) const;

    QString program_;
    QCommandLineParser parser_;
    QCommandLineOption help_;
    QCommandLineOption version_;
};

}  // namespace morvane

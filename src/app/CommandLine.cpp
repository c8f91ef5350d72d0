#include "app/CommandLine.h"

#include <QCommandLineParser>

namespace corvanta {

namespace {

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption dataDir{QStringLiteral("data-dir"), QString(), QStringLiteral("folder")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}};
    QCommandLineOption add{QStringLiteral("add")};
    QCommandLineOption topic{QStringLiteral("topic"), QString(), QStringLiteral("topic")};

    Parser()
    {
        parser.addOption(dataDir);
        parser.addOption(add);
        parser.addOption(topic);
        parser.addOption(help);
        parser.addOption(version);
        // Options are words, "-data-dir" as well as "--data-dir", as Qt's own are.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    }
};

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    Parser p;
    CommandLine result;
    if (!p.parser.parse(arguments)) {
        result.action = CommandLine::Action::Error;
        result.error = p.parser.errorText();
        return result;
    }
    if (p.parser.isSet(p.help)) {
        result.action = CommandLine::Action::Help;
    } else if (p.parser.isSet(p.version)) {
        result.action = CommandLine::Action::Version;
    } else if (p.parser.isSet(p.add)) {
        result.action = CommandLine::Action::Add;
        result.files = p.parser.positionalArguments();
        result.topic = p.parser.value(p.topic);
        if (result.files.isEmpty()) {
            result.action = CommandLine::Action::Error;
            result.error = QStringLiteral("--add needs at least one FILE");
        }
    } else if (p.parser.isSet(p.topic)) {
        result.action = CommandLine::Action::Error;
        result.error = QStringLiteral("--topic goes with --add");
    } else if (!p.parser.positionalArguments().isEmpty()) {
        result.action = CommandLine::Action::Error;
        result.error = QStringLiteral("unexpected argument '%1'").arg(p.parser.positionalArguments().first());
    }
    result.dataDir = p.parser.value(p.dataDir);
    return result;
}

CommandLine::Action earlyAction(const QStringList &arguments)
{
    Parser p;
    p.parser.parse(arguments); // Qt's options are unknown here and do not count
    if (p.parser.isSet(p.help))
        return CommandLine::Action::Help;
    if (p.parser.isSet(p.version))
        return CommandLine::Action::Version;
    if (p.parser.isSet(p.add))
        return CommandLine::Action::Add;
    return CommandLine::Action::Run;
}

bool choosesDisplay(const QStringList &arguments)
{
    for (const QString &word : arguments.mid(1)) {
        const QString name = word.startsWith(u"--") ? word.mid(1) : word;
        if (name == u"-platform" || name == u"-display")
            return true;
    }
    return false;
}

QString commandLineHelp()
{
    return QStringLiteral(
        "Usage: corvanta [--data-dir FOLDER]\n"
        "       corvanta [--data-dir FOLDER] --add FILE... [--topic PROJECT/TOPIC]\n\n"
        "Corvanta: a desktop organiser. Three lists (Projects, Topics, Files) put your files, "
        "programs, websites and e-mail addresses three clicks away.\n\n"
        "Options:\n"
        "  --data-dir FOLDER  Keep the lists and settings in FOLDER.\n"
        "  --add FILE...      Add pointers to FILEs, named after them, to the File\n"
        "                     List the running copy shows, else to the entry\n"
        "                     screen's File List; needs no display.\n"
        "  --topic PROJECT/TOPIC\n"
        "                     Add them to this topic instead (a topic of the entry\n"
        "                     screen by its name alone); exit 2 when it does not exist.\n"
        "  -h, --help         Show this help and exit.\n"
        "  -v, --version      Show the version and exit.\n"
        "Qt's standard options, such as -platform NAME and -style NAME,\n"
        "are accepted too (see corvanta(1)).\n\n"
        "Without --data-dir the data lives in the program's folder when it\n"
        "already holds Corvanta.Ini or Project.List, else in\n"
        "$XDG_DATA_HOME/corvanta (~/.local/share/corvanta).\n");
}

QString commandLineVersion()
{
    return QStringLiteral("corvanta %1\n").arg(QStringLiteral(CORVANTA_VERSION));
}

} // namespace corvanta

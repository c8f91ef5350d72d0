#include "app/DataFolder.h"
#include "app/SingleInstance.h"
#include "compose/Program.h"
#include "gui/MainWindow.h"
#include "gui/QtClipboard.h"
#include "gui/QtFileDialogs.h"
#include "gui/QtFolderPicker.h"
#include "gui/QtFontDialog.h"
#include "gui/QtPrinting.h"
#include "gui/QtUi.h"
#include "platform/MsgBox.h"
#include "platform/SystemClock.h"
#include "platform/X11Keyboard.h"
#include "platform/XdgShell.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

QStringList arguments(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// Qt takes its own standard options (-platform, -style, -geometry, ...) from argv when the
// application object is made; they are known here only so that reading ours first accepts them.
void acceptQtOptions(QCommandLineParser &parser)
{
    static const char *const withValue[] = {
        "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
        "qwindowicon", "qwindowtitle", "session", "display", "geometry", "name", "title", "icon",
        "visual", "style", "stylesheet"};
    static const char *const flags[] = {"reverse", "widgetcount", "sync", "nograb", "dograb"};
    for (const char *name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

int main(int argc, char **argv)
{
    Q_INIT_RESOURCE(resources);
    using namespace corvanta;

    // The options are read before the application object exists, so that --help and
    // --version work without a display.
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Corvanta: a desktop organiser. Three lists (Projects, Topics, Files) put your files, "
        "programs, websites and e-mail addresses three clicks away."));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Keep the lists and settings in <folder>."),
                                     QStringLiteral("folder"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(dataDir);
    parser.addOption(help);
    parser.addOption(version);
    // Qt's options are single-dash words ("-platform xcb"), not bundles of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    acceptQtOptions(parser);
    const QStringList args = arguments(argc, argv);
    if (!parser.parse(args)) {
        print(stderr, QStringLiteral("corvanta: %1\nTry 'corvanta --help'.\n").arg(parser.errorText()));
        return 2;
    }
    if (parser.isSet(help)) {
        print(stdout, QStringLiteral("Usage: corvanta [--data-dir FOLDER]\n\n%1\n\n"
                                     "Options:\n"
                                     "  --data-dir FOLDER  Keep the lists and settings in FOLDER.\n"
                                     "  -h, --help         Show this help and exit.\n"
                                     "  -v, --version      Show the version and exit.\n"
                                     "Qt's standard options, such as -platform NAME and -style NAME,\n"
                                     "are accepted too (see corvanta(1)).\n\n"
                                     "Without --data-dir the data lives in the program's folder when it\n"
                                     "already holds Corvanta.Ini or Project.List, else in\n"
                                     "$XDG_DATA_HOME/corvanta (~/.local/share/corvanta).\n")
                          .arg(parser.applicationDescription()));
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("corvanta %1\n").arg(QStringLiteral(CORVANTA_VERSION)));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, QStringLiteral("corvanta: unexpected argument '%1'\nTry 'corvanta --help'.\n")
                          .arg(parser.positionalArguments().first()));
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !parser.isSet(QStringLiteral("platform"))
        && !parser.isSet(QStringLiteral("display"))) {
        print(stderr, QStringLiteral("corvanta: no display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                                     "Start it under a virtual display with:  xvfb-run -a corvanta\n"));
        return 1;
    }

    const QString exeDir = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    const DataFolderChoice folder =
        resolveDataFolder(parser.value(dataDir), exeDir, qEnvironmentVariable("XDG_DATA_HOME"),
                          QDir::homePath());
    if (folder.path.isEmpty()) {
        print(stderr, QStringLiteral("corvanta: %1\n").arg(folder.error));
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvanta"));
    QApplication::setApplicationVersion(QStringLiteral(CORVANTA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.example.corvanta"));
    QtUi ui;

    // Two copies writing the same lists would lose each other's changes.
    SingleInstance instance(folder.path);
    if (!instance.acquire()) {
        ui.msgBox(SingleInstance::refusalText(folder.path), SingleInstance::refusalTitle(),
                  MsgBox::OkOnly | MsgBox::Exclamation);
        return 1;
    }

    SystemClock clock;
    XdgShell shell;
    QtFileDialogs fileDialogs;
    QtClipboard clipboard;
    QtPrintService printing;
    QtFolderPicker folderPicker;
    QtFontDialog fontDialog;
    // The lock keys can be read and switched on X11 only; under Wayland their panels stay empty.
    std::unique_ptr<X11Keyboard> keyboard;
    if (QGuiApplication::platformName() == u"xcb")
        keyboard = X11Keyboard::open(parser.value(QStringLiteral("display")).toLocal8Bit());
    Program program(Platform{ui, clock, &shell, &fileDialogs, &clipboard, &printing, &folderPicker,
                             &fontDialog, keyboard.get()},
                    ModalWindows::of(ui), folder.path, QCoreApplication::applicationDirPath());
    MainWindow window(program.form(), ui);
    program.form().Form_Load();
    if (program.form().finished())
        return 0;
    return QApplication::exec();
}

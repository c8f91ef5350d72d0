#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/SingleInstance.h"
#include "compose/Program.h"
#include "gui/HandInServer.h"
#include "gui/MainWindow.h"
#include "gui/QtClipboard.h"
#include "gui/QtFileDialogs.h"
#include "gui/QtFolderPicker.h"
#include "gui/QtFontDialog.h"
#include "gui/QtPrinting.h"
#include "gui/QtUi.h"
#include "gui/TerminationSignals.h"
#include "platform/MsgBox.h"
#include "platform/QtFileWatcher.h"
#include "platform/SystemClock.h"
#include "platform/X11Keyboard.h"
#include "platform/XdgShell.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QStandardPaths>

#include <cstdio>

namespace {

QStringList arguments(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// The X display Qt was told to use (-display NAME); empty for $DISPLAY.
QByteArray displayOption(const QStringList &words)
{
    for (qsizetype i = 1; i + 1 < words.size(); ++i) {
        if (words[i] == u"-display" || words[i] == u"--display")
            return words[i + 1].toLocal8Bit();
    }
    return {};
}

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

QString socketOf(const QString &dataFolder)
{
    // Without XDG_RUNTIME_DIR (a bare terminal, su) both sides use Qt's private fallback folder.
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!QDir::isAbsolutePath(runtime))
        runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return corvanta::handInSocketName(dataFolder, runtime);
}

// The data folder, by the same rule for the window and for --add. The portable check looks in
// the executable's real folder: argv[0] names the folder it was started from when it was found
// through PATH, and that folder's lists are not ours.
corvanta::DataFolderChoice dataFolderFor(const corvanta::CommandLine &options)
{
    return corvanta::resolveDataFolder(options.dataDir, QCoreApplication::applicationDirPath(),
                                       qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
}

// corvanta --add: to the copy running on the data folder, else straight into the topic's file.
// Needs no display.
int addFiles(int argc, char **argv)
{
    using namespace corvanta;
    QCoreApplication app(argc, argv);
    const CommandLine options = parseCommandLine(QCoreApplication::arguments());
    if (options.action != CommandLine::Action::Add) {
        print(stderr, QStringLiteral("corvanta: %1\nTry 'corvanta --help'.\n").arg(options.error));
        return 2;
    }
    const DataFolderChoice folder = dataFolderFor(options);
    if (folder.path.isEmpty()) {
        print(stderr, QStringLiteral("corvanta: %1\n").arg(folder.error));
        return 1;
    }
    HandInRequest request;
    request.topic = options.topic;
    for (const QString &file : options.files)
        request.files << QFileInfo(file).absoluteFilePath();
    std::optional<HandInAnswer> answer = sendToRunningCopy(socketOf(folder.path), request);
    if (!answer)
        answer = handInDirectly(folder.path, request);
    for (const QString &message : answer->messages)
        print(stderr, QStringLiteral("corvanta: %1\n").arg(message));
    if (!answer->summary.isEmpty())
        print(stdout, answer->summary + u'\n');
    return answer->exitCode;
}

} // namespace

int main(int argc, char **argv)
{
    Q_INIT_RESOURCE(resources);
    using namespace corvanta;

    // --help and --version need no display, so they are answered before Qt opens one.
    const QStringList words = arguments(argc, argv);
    switch (earlyAction(words)) {
    case CommandLine::Action::Help:
        print(stdout, commandLineHelp());
        return 0;
    case CommandLine::Action::Version:
        print(stdout, commandLineVersion());
        return 0;
    case CommandLine::Action::Add:
        return addFiles(argc, argv);
    default:
        break;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !choosesDisplay(words)) {
        print(stderr, QStringLiteral("corvanta: no display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                                     "Start it under a virtual display with:  xvfb-run -a corvanta\n"));
        return 1;
    }

    // Qt takes its own options (-platform, -style, -reverse, ...) out of argv; ours are what
    // it leaves.
    QApplication app(argc, argv);
    // A logout or kill ends the program as the close box does, from the lock on.
    TerminationSignals termination;
    const CommandLine options = parseCommandLine(QCoreApplication::arguments());
    if (options.action == CommandLine::Action::Error) {
        print(stderr, QStringLiteral("corvanta: %1\nTry 'corvanta --help'.\n").arg(options.error));
        return 2;
    }

    QApplication::setApplicationName(QStringLiteral("Corvanta"));
    QApplication::setApplicationVersion(QStringLiteral(CORVANTA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.example.corvanta"));

    const DataFolderChoice folder = dataFolderFor(options);
    if (folder.path.isEmpty()) {
        print(stderr, QStringLiteral("corvanta: %1\n").arg(folder.error));
        return 1;
    }
    QtUi ui;

    // Two copies writing the same lists would lose each other's changes.
    SingleInstance instance(folder.path);
    const QString socketName = socketOf(folder.path);
    // A copy already running here comes to the front, with the refusal box over it.
    const auto raiseRunningCopy = [&socketName] {
        HandInRequest raise;
        raise.kind = HandInRequest::Kind::Raise;
        sendToRunningCopy(socketName, raise, 2000);
    };
    if (!claimDataFolder(instance, ui, folder.path, QDateTime::currentDateTimeUtc(), raiseRunningCopy))
        return 1;

    SystemClock clock;
    XdgShell shell;
    QtFileDialogs fileDialogs;
    QtClipboard clipboard;
    QtPrintService printing;
    QtFolderPicker folderPicker;
    QtFontDialog fontDialog;
    QtFileWatcher fileWatcher;
    // The lock keys can be read and switched on X11 only; under Wayland their panels stay empty.
    std::unique_ptr<X11Keyboard> keyboard;
    if (QGuiApplication::platformName() == u"xcb")
        keyboard = X11Keyboard::open(displayOption(words));
    Program program(Platform{ui, clock, &shell, &fileDialogs, &clipboard, &printing, &folderPicker,
                             &fontDialog, &fileWatcher, keyboard.get()},
                    ModalWindows::of(ui), folder.path, QCoreApplication::applicationDirPath());
    if (instance.readOnly())
        program.form().settingsFailureTold();
    MainWindow window(program.form(), ui);
    termination.closes(&window);
    HandInServer handInServer(program.handIn(), &window);
    handInServer.listen(socketName);
    program.form().Form_Load();
    if (program.form().finished())
        return 0;
    return QApplication::exec();
}

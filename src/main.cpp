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
#include "platform/MsgBox.h"
#include "platform/QtFileWatcher.h"
#include "platform/SystemClock.h"
#include "platform/XdgShell.h"

#include <QApplication>
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

QString socketOf(const QString &dataFolder)
{
    return corvanta::handInSocketName(dataFolder, qEnvironmentVariable("XDG_RUNTIME_DIR"));
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
    const QString exeDir = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    const DataFolderChoice folder = resolveDataFolder(
        options.dataDir, exeDir, qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
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
    const CommandLine options = parseCommandLine(QCoreApplication::arguments());
    if (options.action == CommandLine::Action::Error) {
        print(stderr, QStringLiteral("corvanta: %1\nTry 'corvanta --help'.\n").arg(options.error));
        return 2;
    }

    const QString exeDir = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    const DataFolderChoice folder =
        resolveDataFolder(options.dataDir, exeDir, qEnvironmentVariable("XDG_DATA_HOME"),
                          QDir::homePath());
    if (folder.path.isEmpty()) {
        print(stderr, QStringLiteral("corvanta: %1\n").arg(folder.error));
        return 1;
    }

    QApplication::setApplicationName(QStringLiteral("Corvanta"));
    QApplication::setApplicationVersion(QStringLiteral(CORVANTA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.example.corvanta"));
    QtUi ui;

    // Two copies writing the same lists would lose each other's changes.
    SingleInstance instance(folder.path);
    const QString socketName = socketOf(folder.path);
    if (!instance.acquire()) {
        // The running copy comes to the front, with the box over it.
        HandInRequest raise;
        raise.kind = HandInRequest::Kind::Raise;
        sendToRunningCopy(socketName, raise, 2000);
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
    QtFileWatcher fileWatcher;
    Program program(Platform{ui, clock, &shell, &fileDialogs, &clipboard, &printing, &folderPicker,
                             &fontDialog, &fileWatcher},
                    ModalWindows::of(ui), folder.path);
    MainWindow window(program.form(), ui);
    HandInServer handInServer(program.handIn(), &window);
    handInServer.listen(socketName);
    program.form().Form_Load();
    if (program.form().finished())
        return 0;
    return QApplication::exec();
}

#include "app/Launcher.h"

#include "app/SharedState.h"
#include "platform/DesktopEntries.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

#include <QDir>
#include <QFileInfo>

#include <map>

namespace corvanta {

namespace {

QString launchErrorTitle()
{
    return QStringLiteral(" Launch Error");
}

} // namespace

Launcher::Launcher(Ui &ui, Shell *shell, SharedState &state) : ui_(ui), shell_(shell), state_(state)
{ }

QString Launcher::GetFileNamePart(const QString &path)
{
    if (!addressScheme(path).isEmpty())
        return path;
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? path : path.mid(slash + 1);
}

bool Launcher::hasWebsiteScheme(const QString &address)
{
    return address.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive)
        || address.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
}

QString Launcher::launchMessage(int result)
{
    static const std::map<int, const char *> messages = {
        {0, "System is out of memory, executable file is corrupt, or relocations are invalid."},
        {2, "Selected File was not found."},
        {3, "Selected Path was not found."},
        {5,
            "Attempt was made to dynamically link to a task, or there was a sharing or "
            "network-protection error."},
        {6, "Library required separate data segments for each task."},
        {8, "There was insufficient memory to start the application."},
        {10, "Windows version was incorrect."},
        {11,
            "Executable file was invalid. Either it was not a Windows application or there was an "
            "error in the .EXE image."},
        {12, "Application was designed for a different operating system."},
        {13, "Application was designed for MS-DOS 4.0."},
        {14, "Type of executable file was unknown."},
        {15,
            "Attempt was made to load a real-mode application (developed for an earlier version of "
            "Windows)."},
        {16,
            "Attempt was made to load a second instance of an executable file containing multiple "
            "data segments that were not marked read-only."},
        {19,
            "Attempt was made to load a compressed executable file. The file must be decompressed "
            "before it can be loaded."},
        {20,
            "Dynamic-link library (DLL) file was invalid. One of the DLLs required to run this "
            "application was corrupt."},
        {21, "Application requires Microsoft Windows 32-bit extensions."},
    };
    const auto it = messages.find(result);
    return it == messages.end() ? QString() : QString::fromLatin1(it->second);
}

LaunchResult Launcher::LaunchTarget(const QString &target, const QString &verb, const QString &parameters)
{
    using Outcome = LaunchResult::Outcome;
    // An empty text has no file part: nothing is handed to the shell.
    if (target.trimmed().isEmpty()) {
        ui_.beep();
        return {Outcome::Refused, {}};
    }
    if (!shell_)
        return {};
    // An older version stored websites beginning "http" without their scheme ("httpbin.org"):
    // such a target is a website, unless the data folder holds a file of that name.
    if (addressScheme(target).isEmpty() && target.left(4).compare(u"http", Qt::CaseInsensitive) == 0
        && QDir::isRelativePath(target) && !QFileInfo::exists(state_.ProgramFolder + u'/' + target)) {
        return LaunchTarget(QStringLiteral("http://") + target, verb, parameters);
    }
    const QString file = GetFileNamePart(target);
    QString folder = target.left(target.size() - file.size());
    // A path without a leading '/' lies in the data folder, wherever the program was started.
    if (addressScheme(target).isEmpty() && QDir::isRelativePath(target))
        folder.prepend(state_.ProgramFolder + u'/');
    // The hourglass only while the shell works: the boxes that may follow get the normal pointer.
    ui_.setBusy(true);
    const int result =
        shell_->execute(verb.isEmpty() ? QStringLiteral("Open") : verb, file, parameters, folder);
    ui_.setBusy(false);
    if (result == ShellResult::NoAssociation) {
        openWith(target);
        return {Outcome::OpenWith, {}};
    }
    const QString message = launchMessage(result);
    if (message.isEmpty())
        return {};
    if (result == ShellResult::FileNotFound || result == ShellResult::PathNotFound)
        return {Outcome::NotFound, message};
    // The system's own reason (lp's complaint, say) says more than the classic text.
    const QString reason = shell_->failureReason();
    const QString status = (reason.isEmpty() ? message : reason) + fiveSpaces();
    ui_.msgBox(status, launchErrorTitle(), MsgBox::OkOnly | MsgBox::Information);
    return {Outcome::Failed, status};
}

void Launcher::openWith(const QString &target)
{
    const QString command = ui_.chooseProgram(target, QStringLiteral(" Open With"));
    if (command.isEmpty() || !shell_)
        return;
    QStringList words = DesktopEntries::expandCommand(command, target);
    if (words.isEmpty())
        return;
    const QString program = words.takeFirst();
    // Started in the data folder, so a target given without a folder is found there.
    if (!shell_->startProcess(program, words, Shell::NormalFocus, state_.ProgramFolder)) {
        ui_.msgBox(QStringLiteral("The Program  [") + userText(program)
                + QStringLiteral("]  Could Not Be Started.") + fiveSpaces(),
            launchErrorTitle(), MsgBox::OkOnly | MsgBox::Information);
    }
}

QStringList Launcher::lookedFor(Tool tool)
{
    auto list = [](std::initializer_list<const char *> names) {
        QStringList out;
        for (const char *name : names)
            out << QString::fromLatin1(name);
        return out;
    };
    switch (tool) {
    case Tool::Calculator:
        return list(
            {"gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk", "xcalc"});
    case Tool::TextEditor:
        return list({"gedit", "gnome-text-editor", "kate", "kwrite", "mousepad", "pluma", "xed",
            "leafpad", "featherpad", "xedit"});
    case Tool::WordProcessor:
        return list({"libreoffice --writer", "abiword", "calligrawords"});
    case Tool::Settings:
        return list({"gnome-control-center", "systemsettings", "xfce4-settings-manager",
            "mate-control-center"});
    case Tool::SystemMonitor:
        return list({"gnome-system-monitor", "plasma-systemmonitor", "ksysguard",
            "xfce4-taskmanager", "mate-system-monitor", "lxtask", "x-terminal-emulator -e top"});
    case Tool::FileManager:
        return list({"nautilus", "dolphin", "thunar", "pcmanfm", "caja", "nemo"});
    case Tool::Terminal:
        return list({"x-terminal-emulator", "gnome-terminal", "konsole", "xfce4-terminal",
            "mate-terminal", "lxterminal", "xterm"});
    }
    return {};
}

QStringList Launcher::candidates(Tool tool) const
{
    QStringList out;
    // The user's own choice of editor and file manager goes before any guess of ours.
    const QString defaultType = tool == Tool::TextEditor ? QStringLiteral("text/plain")
        : tool == Tool::FileManager                      ? QStringLiteral("inode/directory")
                                                         : QString();
    if (shell_ && !defaultType.isEmpty()) {
        const QString command = shell_->defaultCommand(defaultType);
        if (!command.isEmpty())
            out << command;
    }
    return out + lookedFor(tool);
}

QString Launcher::programNotFoundTitle()
{
    return QStringLiteral(" Program Not Found");
}

QString Launcher::programNotFoundText(const QString &caption, const QStringList &lookedFor)
{
    return QStringLiteral("Corvanta Could Not Find A Program For ") + caption + u'.' + fiveSpaces()
        + u'\r' + QStringLiteral("Looked For: ") + lookedFor.join(QStringLiteral(", ")) + u'\r';
}

bool Launcher::startTool(Tool tool, const QString &caption, const QString &file)
{
    const int style = tool == Tool::Terminal ? Shell::MaximisedFocus : Shell::NormalFocus;
    if (shell_) {
        for (const QString &command : candidates(tool)) {
            QStringList words = DesktopEntries::expandCommand(command, file);
            if (words.isEmpty() || shell_->findProgram(words.first()).isEmpty())
                continue;
            const QString program = words.takeFirst();
            // One that is there but will not start gives way to the next, as the command
            // prompt gave way to the older one.
            if (shell_->startProcess(program, words, style, state_.ProgramFolder))
                return true;
        }
    }
    ui_.msgBox(programNotFoundText(QString(caption).remove(u'&'), lookedFor(tool)),
        programNotFoundTitle(), MsgBox::OkOnly | MsgBox::Exclamation);
    return false;
}

} // namespace corvanta

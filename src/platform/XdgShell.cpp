#include "platform/XdgShell.h"

#include "platform/DesktopEntries.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace corvanta {

bool XdgShell::isProgram(const QFileInfo &file)
{
    if (!file.isFile() || !file.isExecutable())
        return false;
    QFile f(file.absoluteFilePath());
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(4);
    return head.startsWith("\x7f"
                           "ELF")
        || head.startsWith("#!");
}

int XdgShell::execute(
    const QString &verb, const QString &file, const QString &parameters, const QString &folder)
{
    reason_.clear();
    QString target = folder + file;
    const QString scheme = addressScheme(target);
    if (!scheme.isEmpty() && scheme != u"file") {
        // Addresses are opened whatever the verb: there is no printing a website from here.
        QString command = defaultCommand(QStringLiteral("x-scheme-handler/") + scheme);
        if (command.isEmpty() && (scheme == u"http" || scheme == u"https")
            && !findProgram(QStringLiteral("x-www-browser")).isEmpty())
            command = QStringLiteral("x-www-browser %u");
        if (command.isEmpty())
            return ShellResult::NoAssociation;
        return openInDefaultApplication(target, command, QString());
    }
    if (scheme == u"file")
        target = QUrl(target).toLocalFile();
    if (target.isEmpty())
        return ShellResult::FileNotFound;

    const QFileInfo info(target);
    if (!QFileInfo(info.absolutePath()).isDir())
        return ShellResult::PathNotFound;
    if (!info.exists())
        return ShellResult::FileNotFound;
    if (!info.isReadable())
        return ShellResult::AccessDenied;
    if (isProgram(info))
        return startProgram(info, parameters);
    // A folder has nothing to print: it is opened either way.
    if (verb.compare(u"print", Qt::CaseInsensitive) == 0 && !info.isDir())
        return print(info.absoluteFilePath());

    const QString command = defaultCommand(DesktopEntries::mimeTypeOf(info.absoluteFilePath()));
    if (command.isEmpty())
        return ShellResult::NoAssociation;
    return openInDefaultApplication(info.absoluteFilePath(), command,
        info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}

int XdgShell::openInDefaultApplication(
    const QString &target, const QString &command, const QString &folder)
{
    QStringList words = DesktopEntries::expandCommand(command, target);
    const QString program = words.isEmpty() ? QString() : findProgram(words.takeFirst());
    if (!program.isEmpty() && QProcess::startDetached(program, words, folder))
        return ShellResult::Success;
    reason_ = QStringLiteral("The program for this file could not be started: %1")
                  .arg(DesktopEntries::splitCommand(command).value(0));
    return ShellResult::Failed;
}

int XdgShell::startProgram(const QFileInfo &file, const QString &parameters)
{
    // A program runs in its own folder, as it would when started from there.
    if (QProcess::startDetached(
            file.absoluteFilePath(), QProcess::splitCommand(parameters), file.absolutePath()))
        return ShellResult::Success;
    return ShellResult::InvalidExecutable;
}

int XdgShell::print(const QString &path)
{
    const QString lp = findProgram(QStringLiteral("lp"));
    if (lp.isEmpty()) {
        reason_ = QStringLiteral("Printing needs the lp command (CUPS), which was not found.");
        return ShellResult::Failed;
    }
    QProcess process;
    process.start(lp, {path});
    if (!process.waitForStarted()) {
        reason_ = QStringLiteral("The lp command could not be started.");
        return ShellResult::Failed;
    }
    if (!process.waitForFinished(printTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        reason_ = QStringLiteral("The lp command did not answer.");
        return ShellResult::Failed;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        reason_ = QString::fromLocal8Bit(process.readAllStandardError()).simplified();
        if (reason_.isEmpty())
            reason_ =
                QStringLiteral("The lp command failed with status %1.").arg(process.exitCode());
        return ShellResult::Failed;
    }
    return ShellResult::Success;
}

bool XdgShell::startProcess(
    const QString &program, const QStringList &arguments, int windowStyle, const QString &folder)
{
    // Placement and size are the window manager's; a maximised start cannot be asked for
    // portably, so the style only says what the caller wanted.
    Q_UNUSED(windowStyle);
    const QString path = findProgram(program);
    return !path.isEmpty() && QProcess::startDetached(path, arguments, folder);
}

QString XdgShell::findProgram(const QString &name) const
{
    return DesktopEntries::findProgram(name);
}

QString XdgShell::defaultCommand(const QString &mimeType) const
{
    const auto entry = DesktopEntries().defaultFor(mimeType);
    return entry ? entry->commandLine() : QString();
}

QStringList XdgShell::showItemsArguments(const QString &path)
{
    // dbus-send splits an array at commas: a comma in the name goes percent-encoded, which
    // the URI allows.
    QString uri = QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
    uri.replace(u',', QStringLiteral("%2C"));
    return {QStringLiteral("--session"), QStringLiteral("--print-reply"),
        QStringLiteral("--reply-timeout=3000"), QStringLiteral("--dest=org.freedesktop.FileManager1"),
        QStringLiteral("--type=method_call"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1.ShowItems"), QStringLiteral("array:string:") + uri,
        QStringLiteral("string:")};
}

bool XdgShell::showInFolder(const QString &path)
{
    if (findProgram(QStringLiteral("dbus-send")).isEmpty())
        return false;
    QProcess process;
    process.start(QStringLiteral("dbus-send"), showItemsArguments(path));
    // The reply comes once the file manager took the request; no service answers at once.
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace corvanta

#include "app/Help.h"

#include "app/AccessoryDisplay.h"
#include "app/Operations.h"
#include "app/Settings.h"
#include "app/SharedState.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"

#include <QDir>
#include <QFileInfo>

namespace corvanta {

QString makerWebsite()
{
    return QStringLiteral("https://corvanta.example.org/");
}

QString makerDownloadPage()
{
    return QStringLiteral("https://corvanta.example.org/download");
}

QString makerSupportAddress()
{
    return QStringLiteral("support@corvanta.example.org");
}

Help::Help(const FeatureContext &context, AccessoryDisplay &display, const QString &executableFolder)
    : c(context), display_(display), executableFolder_(executableFolder),
      launcher_(context.ui, context.platform.shell, context.state),
      window_(context.state, context.store, [this](const QString &name) { return findHelpFile(name); },
              [this](const QString &section, const QString &key, const QString &value) {
                  writeSetting(c.store, c.state, c.ui, section, key, value);
              })
{
    window_.openLink = [this](const QUrl &url) { openLink(url); };
    const struct
    {
        std::initializer_list<const char *> names;
        void (Help::*operation)();
    } commands[] = {
        {{"ShowHelpTopics", "mnuHelp", "toolbar:HelpTopics", "entry:Help Topics"}, &Help::ShowHelpTopics},
        {{"ShowGettingStartedHelp", "mnuGettingStarted"}, &Help::ShowGettingStartedHelp},
        {{"OpenWebsite", "mnuCorvantaWebsite", "entry:Corvanta Website"}, &Help::OpenWebsite},
        {{"mnuEmailTechSupport"}, &Help::EmailTechSupport},
    };
    for (const auto &command : commands) {
        for (const char *name : command.names)
            c.operations.add(QString::fromLatin1(name), [this, op = command.operation] { (this->*op)(); });
    }
}

QStringList Help::helpFolders(const QString &dataFolder, const QString &executableFolder)
{
    QStringList folders;
    const QString installed =
        executableFolder.isEmpty() ? QString() : QDir::cleanPath(executableFolder + QStringLiteral("/../share/corvanta"));
    for (const QString &folder : {dataFolder, installed, executableFolder}) {
        if (!folder.isEmpty() && !folders.contains(QDir::cleanPath(folder)))
            folders << QDir::cleanPath(folder);
    }
    return folders;
}

QString Help::findHelpFile(const QString &name, QStringList *tooLarge) const
{
    for (const QString &folder : helpFolders(c.state.ProgramFolder, executableFolder_)) {
        const QFileInfo file(folder + u'/' + name);
        if (!file.isFile())
            continue;
        // The help window lays a page out whole: a huge one would take minutes and gigabytes.
        if (file.size() > MaxDocumentBytes) {
            if (tooLarge)
                tooLarge->append(file.absoluteFilePath());
            continue;
        }
        return file.absoluteFilePath();
    }
    return QString();
}

QString Help::tooLargeTitle()
{
    return QStringLiteral(" Help File Too Large");
}

QString Help::tooLargeText(const QString &path)
{
    return QStringLiteral("The Help File  [") + userText(path)
        + QStringLiteral("]  Is Larger Than 5 MB And Is Not Shown.     \r");
}

QString Help::helpMissingTitle()
{
    return QStringLiteral(" Help File Missing");
}

QString Help::helpMissingText()
{
    return QStringLiteral("Cannot Find Corvanta.Hlp File\r\rPlease Download A New Help File From\r") + makerWebsite()
        + QStringLiteral(" \ror Copy Corvanta.Hlp & Corvanta.Cnt      \rFrom Your Corvanta Installation CD\r\r"
                         "Do You Want To Launch the Corvanta Website?\r");
}

QString Help::gettingStartedMissingTitle()
{
    return QStringLiteral(" Getting Started File Missing");
}

QString Help::gettingStartedMissingText()
{
    return QStringLiteral("Cannot Find UserManual.Hlp File\r\rPlease Download A New Help File From\r")
        + makerDownloadPage()
        + QStringLiteral(" \ror Copy UserManual.Hlp From Your Corvanta CD.     \r\r"
                         "Do You Want To Launch the Corvanta Website?\r");
}

void Help::ShowHelpTopics()
{
    showDocument(QStringLiteral("Corvanta.Hlp"), QString());
}

// The manual opens where a new user starts.
void Help::ShowGettingStartedHelp()
{
    showDocument(QStringLiteral("UserManual.Hlp"), QStringLiteral("first-start"));
}

void Help::OpenWebsite()
{
    launcher_.LaunchTarget(makerWebsite(), QStringLiteral("open"));
}

void Help::EmailTechSupport()
{
    launcher_.LaunchTarget(QStringLiteral("mailto:") + makerSupportAddress(), QStringLiteral("open"));
}

void Help::showDocument(const QString &name, const QString &anchor)
{
    QStringList tooLarge;
    const QString path = findHelpFile(name, &tooLarge);
    for (const QString &refused : tooLarge)
        c.ui.msgBox(tooLargeText(refused), tooLargeTitle(), MsgBox::OkOnly | MsgBox::Exclamation);
    if (path.isEmpty()) {
        const bool manual = name == u"UserManual.Hlp";
        const int answer = c.ui.msgBox(manual ? gettingStartedMissingText() : helpMissingText(),
            manual ? gettingStartedMissingTitle() : helpMissingTitle(), MsgBox::YesNo | MsgBox::Exclamation);
        if (answer == MsgBox::Yes)
            OpenWebsite();
        return;
    }
    if (!window_.isOpen())
        window_.Form_Load();
    window_.show(path, anchor);
    display_.showHelp(window_);
}

void Help::openLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http" || scheme == u"https" || scheme == u"mailto") {
        launcher_.LaunchTarget(url.toString(), QStringLiteral("open"));
        return;
    }
    // Links lead between the help documents only, each found where the help commands find it.
    const QString name = QFileInfo(url.path()).fileName();
    if (!url.isLocalFile() && !url.isRelative()) {
        c.ui.beep();
        return;
    }
    if (!HelpWindow::documentNames().contains(name)) {
        c.ui.beep();
        return;
    }
    showDocument(name, url.fragment());
}

} // namespace corvanta

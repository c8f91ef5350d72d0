#include "app/ProjectCleanup.h"

#include "app/Operations.h"
#include "app/SharedState.h"
#include "app/UndoHistory.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/FileOps.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"

#include <QDir>

namespace corvanta {

namespace {

const QString CleanupTitle = QStringLiteral(" Cleanup Project Files");

QString countText(int n) { return u' ' + QString::number(n); }

} // namespace

QString keptFoldersText(const QStringList &folders, bool inTrash)
{
    QString text = QStringLiteral("These Folders Still Hold Files Not Made By Corvanta,") + fiveSpaces()
        + QStringLiteral("\rSo They Were Kept:\r");
    for (const QString &folder : folders)
        text += u'[' + folder + QStringLiteral("]\r");
    if (inTrash)
        text += QStringLiteral("\rThe Files Made By Corvanta Are In The Trash.\r");
    return text;
}

bool deleteForGood(Ui &ui, const QString &what, const QString &title)
{
    return ui.msgBox(QStringLiteral("The Drive Of The Data Folder Has No Trash, So") + fiveSpaces() + u'\r' + what
                         + QStringLiteral(" Would Be Deleted For Good.\r\rDo You Want To Delete Them For Good?")
                         + fiveSpaces() + u'\r',
                     title, MsgBox::YesNo | MsgBox::Exclamation | MsgBox::DefaultButton2)
        == MsgBox::Yes;
}

ProjectCleanup::ProjectCleanup(const FeatureContext &context) : c(context)
{
    c.operations.add(QStringLiteral("mnuCleanProjects"), [this] { CleanUpProjectFiles(); });
    c.operations.add(QStringLiteral("entry:Clean Files"), [this] { CleanUpProjectFiles(); });
}

bool ProjectCleanup::ownedNames(QStringList *names)
{
    // A Project.List that is missing names nothing; one that cannot be read might name anything.
    const QString path = c.state.ProgramFolder + QStringLiteral("/Project.List");
    QStringList lines;
    QString reason;
    if (!readLinesForRewrite(c.store, path, lines, &reason)) {
        c.ui.msgBox(QStringLiteral("The Project List  [") + path + QStringLiteral("]  Could Not Be Read.") + fiveSpaces()
                        + u'\r' + reason + QStringLiteral("\rNo Project Files Were Deleted.\r"),
                    CleanupTitle, MsgBox::OkOnly | MsgBox::Exclamation);
        return false;
    }
    for (int i = 0; i < c.lstProjectList.ListCount(); ++i)
        lines << c.lstProjectList.rowText(i);
    // A name cut and not pasted yet is on neither when the list was written meanwhile.
    lines << c.state.CutProjectName;
    for (const QString &line : lines)
        *names << trimSpaces(line).toLower();
    return true;
}

bool ProjectCleanup::confirmMany(int orphans, int folders)
{
    if (orphans * 2 <= folders)
        return true;
    const QString n = QString::number(orphans);
    return c.ui.msgBox(QStringLiteral("You Are About To Delete ") + n + QStringLiteral(" Of ") + QString::number(folders)
                           + QStringLiteral(" Project Folders At Once.") + fiveSpaces()
                           + QStringLiteral("\r\rAre You SURE You Want To Delete ") + n
                           + QStringLiteral(" Project Folders?") + fiveSpaces() + u'\r',
                       QStringLiteral(" Cleanup ") + countText(orphans) + QStringLiteral(" Project Files"),
                       MsgBox::YesNo | MsgBox::Exclamation | MsgBox::DefaultButton2)
        == MsgBox::Yes;
}

void ProjectCleanup::CleanUpProjectFiles()
{
    SharedState &s = c.state;
    QStringList owned;
    if (!ownedNames(&owned))
        return;
    s.ListLoading = true;
    c.window.setEnabled(false);

    // Only real folders are candidates, and only those with something of ours to delete: the entry
    // screen's topic files beside them are live, a link to a folder elsewhere is not ours to
    // empty, and a folder of the user's alone is the user's. Each is kept by the name it was listed
    // under, whatever its row shows.
    const QString projects = s.ProgramFolder + QStringLiteral("/Projects");
    const QStringList folders = QDir(projects).entryList(
        QDir::Dirs | QDir::NoSymLinks | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QStringList orphans;
    for (const QString &folder : folders) {
        const QString name = trimSpaces(folder);
        // Names of one or two characters are never taken for orphans.
        if (name.size() >= 3 && !owned.contains(name.toLower())
            && holdsProgramFilesOrNothing(projects + u'/' + folder, folder))
            orphans << folder;
    }

    if (orphans.isEmpty()) {
        c.ui.msgBox(QStringLiteral("All Project Files Are Associated With Project Names.      \r"
                                   "No Unassociated Project Files Found. \r"),
                    QStringLiteral(" No Project Files To Clean"), MsgBox::OkOnly | MsgBox::Information);
        s.ListLoading = false;
        c.window.setEnabled(true);
        return;
    }

    c.lstFileList.clear();
    for (const QString &folder : orphans)
        c.lstFileList.addRow(QString(folder).replace(u'\t', u' ')); // one column, as listed
    c.lstProjectList.clear();
    const QString count = countText(int(orphans.size()));
    const int answer = c.ui.msgBox(QStringLiteral("These ") + count
                                       + QStringLiteral(" Project Files Are No Longer Associated     \r"
                                                        "With A Valid Project Name.\r\r"
                                                        "Do You Want To Delete These Project Files?     \r"),
                                   QStringLiteral(" Cleanup ") + count + QStringLiteral(" Project Files"),
                                   MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2);
    QStringList kept;
    const bool toTrash = trashUsableFor(projects);
    if (answer == MsgBox::Yes && confirmMany(int(orphans.size()), int(folders.size()))
        && (toTrash || deleteForGood(c.ui, QStringLiteral("These") + count + QStringLiteral(" Project Files"),
                                     QStringLiteral(" Cleanup ") + count + QStringLiteral(" Project Files")))) {
        PointerChange change(c.undo, QStringLiteral("Clean Up") + count
                                         + (orphans.size() == 1 ? QStringLiteral(" Project Folder") : QStringLiteral(" Project Folders")));
        change.showNames(UndoHistory::NameList::Projects, {}, {}, {});
        for (const QString &folder : orphans) {
            const QString path = projects + u'/' + folder;
            if (!isRealFolder(path))
                continue;
            for (const QString &file : programFilesIn(path, folder))
                change.touchFile(file, true);
            change.touchFolder(path);
            if (!removeProjectFolder(c.store, path, folder, toTrash))
                kept << path;
        }
    }

    s.StartupInProgress = true;
    c.navigation.loadEntryScreen();
    s.StartupInProgress = false;
    s.ListLoading = false;
    c.window.setEnabled(true);
    if (!kept.isEmpty())
        c.ui.msgBox(keptFoldersText(kept, toTrash), CleanupTitle, MsgBox::OkOnly | MsgBox::Information);
}

} // namespace corvanta

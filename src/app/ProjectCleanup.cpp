#include "app/ProjectCleanup.h"

#include "app/MainForm.h"
#include "app/Navigation.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/FileOps.h"

#include <QDir>

namespace corvanta {

ProjectCleanup::ProjectCleanup(MainForm &form) : f(form)
{
    f.registerOperation(QStringLiteral("mnuCleanProjects"), [this] { CleanUpProjectFiles(); });
    f.registerOperation(QStringLiteral("entry:Clean Files"), [this] { CleanUpProjectFiles(); });
}

void ProjectCleanup::CleanUpProjectFiles()
{
    SharedState &s = f.state;
    s.ListLoading = true;
    f.setEnabled(false);

    const QString projects = s.ProgramFolder + QStringLiteral("/Projects");
    QStringList names;
    for (int i = 0; i < f.lstProjectList.ListCount(); ++i)
        names << f.lstProjectList.rowText(i).toUpper();
    int orphans = 0;
    const QStringList entries =
        QDir(projects).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        const QString name = entry.trimmed();
        // Names of one or two characters are never taken for orphans.
        if (name.size() < 3 || names.contains(name.toUpper()))
            continue;
        if (orphans == 0)
            f.lstFileList.clear();
        f.lstFileList.addRow(entry);
        ++orphans;
    }

    if (orphans == 0) {
        f.ui.msgBox(QStringLiteral("All Project Files Are Associated With Project Names.      \r"
                                   "No Unassociated Project Files Found. \r"),
                    QStringLiteral(" No Project Files To Clean"), MsgBox::OkOnly | MsgBox::Information);
        s.ListLoading = false;
        f.setEnabled(true);
        return;
    }

    f.lstProjectList.clear();
    const QString count = u' ' + QString::number(orphans);
    const int answer = f.ui.msgBox(QStringLiteral("These ") + count
                                       + QStringLiteral(" Project Files Are No Longer Associated     \r"
                                                        "With A Valid Project Name.\r\r"
                                                        "Do You Want To Delete These Project Files?     \r"),
                                   QStringLiteral(" Cleanup ") + count + QStringLiteral(" Project Files"),
                                   MsgBox::YesNo | MsgBox::Question);
    if (answer == MsgBox::Yes) {
        for (int i = 0; i < f.lstFileList.ListCount(); ++i) {
            const QString folder = projects + u'/' + f.lstFileList.columnText(i, 0);
            // A link to a folder elsewhere is not ours to empty.
            if (isRealFolder(folder)) {
                removeFilesIn(folder);
                removeEmptyFolder(folder);
            }
        }
    }

    s.StartupInProgress = true;
    f.navigation().LoadEntryScreen();
    s.StartupInProgress = false;
    s.ListLoading = false;
    f.setEnabled(true);
}

} // namespace corvanta

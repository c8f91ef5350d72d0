#include "app/ProjectCleanup.h"

#include "app/Operations.h"
#include "app/SharedState.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/FileOps.h"
#include "store/ListControl.h"

#include <QDir>

namespace corvanta {

ProjectCleanup::ProjectCleanup(const FeatureContext &context) : c(context)
{
    c.operations.add(QStringLiteral("mnuCleanProjects"), [this] { CleanUpProjectFiles(); });
    c.operations.add(QStringLiteral("entry:Clean Files"), [this] { CleanUpProjectFiles(); });
}

void ProjectCleanup::CleanUpProjectFiles()
{
    SharedState &s = c.state;
    s.ListLoading = true;
    c.window.setEnabled(false);

    const QString projects = s.ProgramFolder + QStringLiteral("/Projects");
    QStringList names;
    for (int i = 0; i < c.lstProjectList.ListCount(); ++i)
        names << c.lstProjectList.rowText(i).toUpper();
    int orphans = 0;
    const QStringList entries =
        QDir(projects).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        const QString name = entry.trimmed();
        // Names of one or two characters are never taken for orphans.
        if (name.size() < 3 || names.contains(name.toUpper()))
            continue;
        if (orphans == 0)
            c.lstFileList.clear();
        c.lstFileList.addRow(entry);
        ++orphans;
    }

    if (orphans == 0) {
        c.ui.msgBox(QStringLiteral("All Project Files Are Associated With Project Names.      \r"
                                   "No Unassociated Project Files Found. \r"),
                    QStringLiteral(" No Project Files To Clean"), MsgBox::OkOnly | MsgBox::Information);
        s.ListLoading = false;
        c.window.setEnabled(true);
        return;
    }

    c.lstProjectList.clear();
    const QString count = u' ' + QString::number(orphans);
    const int answer = c.ui.msgBox(QStringLiteral("These ") + count
                                       + QStringLiteral(" Project Files Are No Longer Associated     \r"
                                                        "With A Valid Project Name.\r\r"
                                                        "Do You Want To Delete These Project Files?     \r"),
                                   QStringLiteral(" Cleanup ") + count + QStringLiteral(" Project Files"),
                                   MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2);
    if (answer == MsgBox::Yes) {
        for (int i = 0; i < c.lstFileList.ListCount(); ++i) {
            const QString folder = projects + u'/' + c.lstFileList.columnText(i, 0);
            // A link to a folder elsewhere is not ours to empty.
            if (isRealFolder(folder)) {
                removeFilesIn(folder);
                removeEmptyFolder(folder);
            }
        }
    }

    s.StartupInProgress = true;
    c.operations.run(QStringLiteral("LoadEntryScreen"));
    s.StartupInProgress = false;
    s.ListLoading = false;
    c.window.setEnabled(true);
}

} // namespace corvanta

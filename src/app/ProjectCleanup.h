#pragma once

#include "app/FeatureContext.h"

#include <QStringList>

namespace corvanta {

class Ui;

// Finds the folders of the Projects folder that no project name owns, lists them in the File
// List, and deletes the program's own files in them (and the folders then empty) when the user
// agrees. A name owns a folder when the Project List on screen or Project.List names it, or it is
// a project name cut and not pasted yet.
class ProjectCleanup {
public:
    explicit ProjectCleanup(const FeatureContext &context);

    void CleanUpProjectFiles();

private:
    FeatureContext c;

    // The names Project.List, the list on screen and a pending cut hold, trimmed and in lower case; false, after
    // a box naming the file, when Project.List exists but cannot be read.
    bool ownedNames(QStringList *names);
    // The second question when more than half of all folders would go.
    bool confirmMany(int orphans, int folders);
};

// The closing report of a deletion that had to keep folders holding the user's own files;
// inTrash: the program's own files went to the desktop's trash.
QString keptFoldersText(const QStringList &folders, bool inTrash = false);
// The further question where the data folder's drive has no trash: what (" The Topic Files Of -
// PLANS -") would be deleted for good. True for Yes; No is the default.
bool deleteForGood(Ui &ui, const QString &what, const QString &title);

} // namespace corvanta

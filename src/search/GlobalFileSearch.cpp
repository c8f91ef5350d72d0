#include "search/GlobalFileSearch.h"

#include "app/Operations.h"
#include "app/SharedState.h"
#include "app/Sorting.h"
#include "search/FileSearch.h"
#include "store/ListControl.h"

#include <QDir>

namespace corvanta {

GlobalFileSearch::GlobalFileSearch(const FeatureContext &context, FileSearchDisplay &windows, Editors &editors)
    : c(context), windows_(windows), editors_(editors), drives_([] { return mountedDrives(QDir::homePath()); })
{
    for (const char *name : {"OpenGlobalFileSearch", "mnuSearchDrives", "mnuSearchAllDrives",
             "toolbar:FileSearch", "entry:Global File Search"})
        c.operations.add(QString::fromLatin1(name), [this] { OpenGlobalFileSearch(); });
}

void GlobalFileSearch::OpenGlobalFileSearch()
{
    if (open_)
        return; // the window is modal: one at a time
    const QString caption = c.window.caption();
    {
        FileSearch search(c, drives_ ? drives_() : std::vector<DriveEntry>(), c.platform.folderPicker, &editors_);
        open_ = &search;
        search.Form_Load();
        windows_.showFileSearch(search);
        search.Form_Unload(); // a window that went away without closing
        open_ = nullptr;
    }
    c.window.setCaption(caption);

    ListControl &files = c.lstFileList;
    if (files.SelCount() == 0)
        return;
    const int current = files.ListIndex();
    if (listSortDirection(c.state.FileSort) != SortDirection::None)
        files.setSorted(listSortDirection(c.state.FileSort));
    files.deselectAll();
    if (current >= 0 && current < files.ListCount()) {
        files.setRow(current);
        files.setListIndex(current);
        files.setSelected(true);
    }
    c.window.giveFocus(&files);
}

} // namespace corvanta

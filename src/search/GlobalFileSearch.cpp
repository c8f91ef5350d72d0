#include "search/GlobalFileSearch.h"

#include "app/MainForm.h"
#include "platform/Ui.h"
#include "search/FileSearch.h"

#include <QDir>

namespace corvanta {

GlobalFileSearch::GlobalFileSearch(MainForm &form)
    : drives([] { return mountedDrives(QDir::homePath()); }), f(form)
{
    for (const char *name : {"OpenGlobalFileSearch", "mnuSearchDrives", "mnuSearchAllDrives",
             "toolbar:FileSearch", "entry:Global File Search"})
        f.registerOperation(QString::fromLatin1(name), [this] { OpenGlobalFileSearch(); });
}

void GlobalFileSearch::OpenGlobalFileSearch()
{
    if (open_)
        return; // the window is modal: one at a time
    const QString caption = f.caption();
    {
        FileSearch search(f, drives ? drives() : std::vector<DriveEntry>(), f.platform.folderPicker);
        open_ = &search;
        search.Form_Load();
        f.ui.showFileSearch(search);
        search.Form_Unload(); // a window that went away without closing
        open_ = nullptr;
    }
    f.setCaption(caption);

    ListControl &files = f.lstFileList;
    if (files.SelCount() == 0)
        return;
    const int current = files.ListIndex();
    if (sortDirection(f.state.FileSort) != 0)
        files.setSorted(sortDirection(f.state.FileSort));
    files.setAction(2);
    if (current >= 0 && current < files.ListCount()) {
        files.setRow(current);
        files.setListIndex(current);
        files.setSelected(true);
    }
    f.giveFocus(&files);
}

} // namespace corvanta

#pragma once

#include "app/FeatureCalls.h"
#include "store/ListControl.h"

#include <QString>
#include <QStringList>

namespace corvanta {

class MainForm;
struct SharedState;

// The File List's handlers that are not navigation: the popup on a mouse press, files dropped on
// the list and its Delete key. The pointer commands implement
// them; the composition root hands them over.
class FileListHandler {
public:
    // A right press on row, or the popup key on the current row (fromKeyboard: the selection
    // stays as it is and no row is picked).
    virtual void lstFileList_MouseDown(int button, int shift, int row, bool fromKeyboard) = 0;
    // Files dropped at row (-1 below the last row).
    virtual void addDroppedFiles(const QStringList &paths, int row) = 0;
    // The Delete key: removes the selected pointers.
    virtual void removeSelectedFiles() = 0;

protected:
    ~FileListHandler() = default;
};

// Fills the three lists from the list files and moves the user through projects and topics; owns
// the mouse and keyboard events of the three lists.
class Navigation final : public ListNavigation {
public:
    explicit Navigation(MainForm &form);

    // ListNavigation, for the other features.
    void loadEntryScreen() override { LoadEntryScreen(); }
    void selectTopic() override { SelectTopic(); }
    bool openPlace(const Place &place) override;
    void selectPointer(const QString &pointer) override;
    void reloadList(ListControl &list) override { ReloadList(list); }
    void rereadFileList() override { RereadFileList(); }
    void showNameRow(bool topics, const QString &project, const QString &name) override;

    void LoadEntryScreen();
    void LoadProjectList();
    void LoadTopicList();
    void LoadFileList();
    void SelectProject();
    void SelectTopic();
    // Reads a shown list's file again after another program changed it; the rows selected and
    // the current row stay so by name where they still exist.
    void ReloadList(ListControl &list);
    // Shows the shown topic's file again as a topic click does, after the program itself
    // rewrote it from elsewhere (Check Missing Targets, Undo); no row stays selected.
    void RereadFileList();
    // After the program moved the Topic List's selection: the File List shows the highlighted
    // topic (nothing happens while no row is highlighted).
    void showHighlightedTopic();

    // Project List events.
    void lstProjectList_Click();
    void lstProjectList_GotFocus();
    void lstProjectList_DblClick();
    void lstProjectList_KeyDown(int &keyCode, int shift);
    // fromKeyboard: the popup key on the current row; the selection stays as it is.
    void lstProjectList_MouseDown(int button, int shift, int row, bool fromKeyboard = false);
    void lstProjectList_MouseMove(int row);
    // Topic List events.
    void lstTopicList_Click();
    void lstTopicList_GotFocus();
    void lstTopicList_KeyDown(int &keyCode, int shift);
    void lstTopicList_MouseDown(int button, int shift, int row, bool fromKeyboard = false);
    void lstTopicList_MouseMove(int row);
    // File List events that navigation needs (focus, click, the arrow-key ring, the line panel).
    void lstFileList_Click();
    void lstFileList_GotFocus();
    void lstFileList_KeyDown(int &keyCode, int shift);
    void lstFileList_MouseMove(int row);

    // An arrow key moves the focus to list: its ListIndex row (0 when out of range) becomes
    // current and selected. An empty list only consumes the key.
    void moveToList(ListControl &list);

    // Files dropped on the File List, as the window reports them; they go to the handler.
    void lstFileList_FilesDropped(const QStringList &paths, int row);
    // Pointers dragged from the File List onto the Topic List's row topicRow (copy: Ctrl held).
    void lstTopicList_PointersDropped(int topicRow, bool copy);

    // The other features' work the lists' events start, handed over by the composition root.
    void setFileListHandler(FileListHandler *handler) { fileListHandler_ = handler; }
    void setShownFilesWatch(ShownFilesWatch *watch) { shownFilesWatch_ = watch; }
    void setNameCommands(NameCommands *commands) { nameCommands_ = commands; }
    void setPointerLaunches(PointerLaunches *launches) { pointerLaunches_ = launches; }
    void setPointerDrops(PointerDrops *drops) { pointerDrops_ = drops; }
    void setListPrinting(ListPrinting *printing) { listPrinting_ = printing; }

private:
    MainForm &f;
    SharedState &s;
    FileListHandler *fileListHandler_ = nullptr;
    ShownFilesWatch *shownFilesWatch_ = nullptr;
    NameCommands *nameCommands_ = nullptr;
    PointerLaunches *pointerLaunches_ = nullptr;
    PointerDrops *pointerDrops_ = nullptr;
    ListPrinting *listPrinting_ = nullptr;

    // Routes a list's events to the handlers above.
    class Router : public ListControlEvents {
    public:
        enum Which { Projects, Topics, Files };
        Router(Navigation &nav, Which which) : nav_(nav), which_(which) {}
        void Click(ListControl &) override;
        void DblClick(ListControl &) override;
        void GotFocus(ListControl &) override;
        void KeyDown(ListControl &, int &keyCode, int &shift) override;
        void MouseDown(ListControl &, int button, int shift, int row) override;
        void MouseMove(ListControl &, int button, int shift, int row) override;
        void PopupKey(ListControl &, int row) override;

    private:
        Navigation &nav_;
        Which which_;
    };
    Router projectEvents_{*this, Router::Projects};
    Router topicEvents_{*this, Router::Topics};
    Router fileEvents_{*this, Router::Files};

    void beginLoading();
    void endLoading();
    void loadNameList(ListControl &list, const QString &path, bool projectRow);
    void showLinePanel(const QString &prefix, int row);
    // Asks before printing list, named what ("File List").
    void printQuestion(const QString &what, ActiveList list);
    void watchShownFiles();
    void launchSelected(LaunchVerb verb);
    QString programPath(const QString &name) const;
};

} // namespace corvanta

#pragma once

#include "app/SharedState.h"

#include <QString>

#include <vector>

namespace corvanta {

class ListControl;

// A place in the data folder the lists can be opened at.
struct Place
{
    QString project; // "" for the entry screen
    QString topic;   // "" for the project's own " ..." row
    QString pointer; // the File List line to make current, by its text or else its name; "" for none
};

// The three lists as other features move them. Navigation implements it; every feature gets it
// in its FeatureContext.
class ListNavigation
{
public:
    virtual void loadEntryScreen() = 0;
    // The File List shows the topic of the Topic List's current row.
    virtual void selectTopic() = 0;
    // Opens place's project and topic and makes its pointer current; false when the project or
    // the topic is not in its list (the lists then show how far it got).
    virtual bool openPlace(const Place &place) = 0;
    // Makes the File List row pointer names current and gives the File List the focus; without
    // one (or "") the Topic List takes the focus.
    virtual void selectPointer(const QString &pointer) = 0;
    // Reads a shown list's file again after another program changed it.
    virtual void reloadList(ListControl &list) = 0;
    // Shows the shown topic's file again after the program itself rewrote it from elsewhere.
    virtual void rereadFileList() = 0;
    // Shows the Project List (topics false) or project's Topic List as their files now hold them,
    // with the row name current: a topic opened with its pointers shown. "" for no row.
    virtual void showNameRow(bool topics, const QString &project, const QString &name) = 0;

protected:
    ~ListNavigation() = default;
};

// The lists' orders and the list files rebuilt from them. Sorting implements it.
class ListSorting
{
public:
    // Shows the Project List in its stored order.
    virtual void applyProjectSort() = 0;
    // The Project List's Sort menu command for order, as if the user chose it.
    virtual void sortProjects(SortOrder order) = 0;
    virtual void saveProjectList() = 0;
    virtual void saveTopicList() = 0;

protected:
    ~ListSorting() = default;
};

// Keeps an eye on the list files shown. ExternalChanges implements it.
class ShownFilesWatch
{
public:
    // Watches the files the three lists show now, and only those.
    virtual void watchShownFiles() = 0;

protected:
    ~ShownFilesWatch() = default;
};

// The project and topic names' commands that the lists' keys and mouse start.
// ProjectMaintenance implements it.
class NameCommands
{
public:
    virtual void createProject() = 0;
    virtual void deleteProject() = 0;
    virtual void createTopic() = 0;
    virtual void deleteTopic() = 0;

protected:
    ~NameCommands() = default;
};

// Open or print: the Open/Print choice, or a command that names one.
enum class LaunchVerb { Chosen, Open, Print };

// Opening the File List's selection, as its keys and double-click start it. Launching implements it.
class PointerLaunches
{
public:
    // The selection opened or printed (verb); an empty File List beeps.
    virtual void launchSelected(LaunchVerb verb) = 0;
    // How many times Open With has been offered this run: a popup whose command offered it
    // leaves the focus with the program chosen.
    virtual int openWithCount() const = 0;

protected:
    ~PointerLaunches() = default;
};

// What a drop of pointers onto a topic does: Ctrl held copies them.
enum class DropMode { Move, Copy };

// Pointers dragged from the File List onto a topic. PointerClipboard implements it.
class PointerDrops
{
public:
    // The File List's rows dropped onto the Topic List's row topicRow.
    virtual void dropPointers(const std::vector<int> &rows, int topicRow, DropMode mode) = 0;

protected:
    ~PointerDrops() = default;
};

// The printouts of the three lists, as Ctrl+P in a list starts them. ListPrintouts implements it.
class ListPrinting
{
public:
    virtual void printList(ActiveList list) = 0;

protected:
    ~ListPrinting() = default;
};

// Where the user left off, kept across runs. ReopenLast implements it.
class LastPlace
{
public:
    virtual void reopenLastPlace() = 0;
    virtual void storeLastPlace() = 0;

protected:
    ~LastPlace() = default;
};

} // namespace corvanta

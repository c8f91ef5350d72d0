#pragma once

#include "app/FeatureCalls.h"
#include "app/WindowGeometry.h"
#include "platform/Platform.h"

#include <QString>

namespace corvanta {

class CommandSurface;
class ListControl;
class Operations;
class Store;
class UndoHistory;
struct SharedState;

// The main window as a feature may change it: its caption, whether it takes input, which list
// has the focus, the Open/Print choice and where it stands. MainForm implements it.
class FormWindow
{
public:
    virtual QString caption() const = 0;
    virtual void setCaption(const QString &caption) = 0;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool on) = 0;
    // Moves the focus by program to list (nullptr: to none of the three lists).
    virtual void giveFocus(ListControl *list) = 0;
    virtual bool optOpen() const = 0; // optPrint is the other choice
    virtual void setOptOpen(bool open) = 0;
    virtual WindowGeometry geometry() const = 0;

protected:
    ~FormWindow() = default;
};

// What a feature is made with: the dispatch table, the shared state, the three lists, the menus
// and status bar, the window, the desktop's services, the undo history, and the lists' navigation
// and sorting. A feature keeps it and registers its menu items, toolbar buttons and keys in the
// dispatch table in its constructor; it calls other features through these interfaces or the
// ones the composition root hands it (app/FeatureCalls.h), never by name.
struct FeatureContext
{
    Operations &operations;
    SharedState &state;
    ListControl &lstProjectList;
    ListControl &lstTopicList;
    ListControl &lstFileList;
    CommandSurface &commands;
    FormWindow &window;
    Platform platform;
    Ui &ui; // platform.ui and platform.clock, for short
    Clock &clock;
    UndoHistory &undo; // every change to pointer files is recorded here (PointerChange)
    ListNavigation &navigation;
    ListSorting &sorting;
    Store &store;      // what reads and writes the program's files goes through
};

} // namespace corvanta

#pragma once

#include "app/About.h"
#include "app/AccessoryDisplay.h"
#include "app/Calendar.h"
#include "app/HelpWindow.h"
#include "app/StartupWindow.h"
#include "editor/PointerEditor.h"
#include "search/FileSearch.h"
#include "search/FindPointer.h"
#include "search/MissingTargets.h"
#include "support/FakeUi.h"

#include <QUrl>

#include <deque>
#include <functional>
#include <vector>

namespace corvanta::test {

// The user in a name dialog (new or renamed project, topic): picks append or insert, types, saves.
inline std::function<void(PointerEditor &)> nameDialog(const QString &text, bool insert)
{
    return [text, insert](PointerEditor &e) {
        insert ? e.optInsertName_Click() : e.optAppendName_Click();
        e.setText(e.txtPointerName, text);
        e.cmdSave_Click();
    };
}

// The user in each name dialog, from a script: the next name goes into the name box as it is (a
// test may pass the box's length limit) and is saved, inserted or appended as insert says; with
// the script used up the dialog is closed unsaved. A refused name leaves the dialog open, and the
// next dialog takes the next name.
inline std::function<void(PointerEditor &)> namesFrom(std::deque<QString> &names, const bool &insert)
{
    return [&names, &insert](PointerEditor &e) {
        if (!names.empty()) {
            insert ? e.optInsertName_Click() : e.optAppendName_Click();
            e.txtPointerName.text = names.front();
            names.pop_front();
            e.cmdSave_Click();
        }
        e.cmdExit_Click();
    };
}

// The fake desktop as the whole program meets it: the scripted boxes of FakeUi and the modal
// windows, which count their showings and let a test play the user in them.
class FakeFormUi : public FakeUi,
                   public StartupWindowDisplay,
                   public PointerEditorDisplay,
                   public FileSearchDisplay,
                   public AccessoryDisplay,
                   public FindPointerDisplay,
                   public MissingTargetsDisplay
{
public:
    int startupWindows = 0;
    std::function<void(StartupWindow &)> onStartupWindow; // plays the user in Getting Started
    void showStartupWindow(StartupWindow &w) override { play(startupWindows, onStartupWindow, w); }

    int pointerEditors = 0;
    std::function<void(PointerEditor &)> onPointerEditor; // plays the user in the editor
    void showPointerEditor(PointerEditor &e) override { play(pointerEditors, onPointerEditor, e); }

    int fileSearches = 0;
    std::function<void(FileSearch &)> onFileSearch; // plays the user in the search window
    void showFileSearch(FileSearch &search) override { play(fileSearches, onFileSearch, search); }

    std::vector<QUrl> helpPages; // the page the help window showed each time it was brought up
    HelpWindow *helpWindow = nullptr;
    void showHelp(HelpWindow &window) override
    {
        helpWindow = &window;
        helpPages.push_back(window.source());
    }

    int calendars = 0;
    std::function<void(Calendar &)> onCalendar; // plays the user in the calendar
    void showCalendar(Calendar &calendar) override { play(calendars, onCalendar, calendar); }

    int abouts = 0;
    std::function<void(About &)> onAbout;
    void showAbout(About &about) override { play(abouts, onAbout, about); }

    int findPointers = 0;
    std::function<void(PointerFinder &)> onFindPointer; // plays the user in Find Pointer
    void showFindPointer(PointerFinder &f) override { play(findPointers, onFindPointer, f); }

    std::function<void(MissingTargets &)> onMissingTargets; // plays the user in the check
    bool awaitCheck = true; // the user waits until every target is checked
    void showMissingTargets(MissingTargets &window) override
    {
        while (awaitCheck && window.checking())
            window.update(std::chrono::milliseconds(100));
        if (onMissingTargets)
            onMissingTargets(window);
    }

private:
    template<typename Window>
    static void play(int &shown, const std::function<void(Window &)> &user, Window &window)
    {
        ++shown;
        if (user)
            user(window);
    }
};

} // namespace corvanta::test

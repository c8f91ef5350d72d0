// Every command of the main window reaches an operation: the menus, popups, toolbar and its
// drop-downs, the function keys, the status bar's panels and the menus that act as they open.
#include "support/FormFixture.h"

#include "platform/Keys.h"

#include <QSet>

namespace corvanta::test {
namespace {

class CommandWiringTest : public FormFixture
{
protected:
    QStringList ran;

    void SetUp() override { start(); }

    // Replaces the named operations by ones that only record that they ran.
    void record(const QStringList &names)
    {
        for (const QString &name : names)
            form->operations.add(name, [this, name] { ran << name; });
    }

    // Two items of one name would run one operation for both and leave the other unreachable.
    void walk(const std::vector<MenuItem> &items, QStringList &missing, QSet<QString> &seen) const
    {
        for (const MenuItem &item : items) {
            if (item.isSeparator())
                continue;
            EXPECT_FALSE(seen.contains(item.name)) << item.name.toStdString();
            seen.insert(item.name);
            // A submenu opens; its items run.
            if (item.items.empty() && !form->hasOperation(item.name))
                missing << item.name;
            walk(item.items, missing, seen);
        }
    }
};

TEST_F(CommandWiringTest, everyItemOfTheMenusPopupsAndToolbar_runsAnOperationOfItsOwn)
{
    QStringList missing;
    QSet<QString> seen;
    walk(form->commands.menuBar(), missing, seen);
    walk(form->commands.popups(), missing, seen);
    for (const ToolbarEntry &entry : form->commands.toolbar()) {
        if (entry.kind == ToolbarEntry::Separator)
            continue;
        if (!form->hasOperation(u"toolbar:"_s + entry.key))
            missing << u"toolbar:"_s + entry.key;
        for (const QString &text : entry.entries) {
            if (!text.startsWith(u'-') && !form->hasOperation(u"entry:"_s + text))
                missing << u"entry:"_s + text;
        }
    }
    EXPECT_EQ(missing, QStringList());
}

TEST_F(CommandWiringTest, functionKeys_runTheirOperationUnderTheModifierRules)
{
    const int shift = Key::ShiftMask, ctrl = Key::CtrlMask, alt = Key::AltMask;
    const struct {
        int key, modifiers;
        const char *runs; // "": swallowed and nothing runs; nullptr: passed on
    } cases[] = {
        {Key::F1, 0, "ShowHelpTopics"}, {Key::F1, ctrl | alt, "ShowHelpTopics"}, {Key::F2, shift, "CreateNewProject"},
        {Key::F3, 0, "EditFileData"}, {Key::F4, alt, "LoadEntryScreen"}, {Key::F5, 0, "ResetWindowToDefault"},
        {Key::F6, ctrl, "AddFileToFileList"}, {Key::F7, 0, "AddWebsite"}, {Key::F8, shift, "AddEmailAddress"},
        {Key::F9, 0, "OpenGlobalFileSearch"}, {Key::F9, shift, ""}, {Key::F9, ctrl, ""},
        {Key::F10, 0, nullptr}, // the window system opens the menu bar
        {Key::F11, 0, "ShowHotKeyList"}, {Key::F11, alt, ""}, {Key::F12, 0, "ChangeUserName"},
        {Key::F12, ctrl, "StartCommandPrompt"}, {Key::F12, ctrl | shift, "StartCommandPrompt"},
        {Key::F12, shift, ""}, {Key::F12, alt, ""}, {'A', 0, nullptr},
    };
    for (const auto &c : cases) {
        if (c.runs && *c.runs)
            record({QString::fromLatin1(c.runs)});
    }
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key << " modifiers " << c.modifiers);
        ran.clear();
        int key = c.key;
        form->Form_KeyDown(key, c.modifiers);
        EXPECT_EQ(ran, c.runs && *c.runs ? QStringList{QString::fromLatin1(c.runs)} : QStringList());
        EXPECT_EQ(key, c.runs ? 0 : c.key);
    }
}

TEST_F(CommandWiringTest, whileAListLoads_everyKeyIsSwallowedAndNothingRuns_thenEscapeCloses)
{
    record({u"ShowHelpTopics"_s, u"ChangeUserName"_s, u"StartCommandPrompt"_s});
    form->state.ListLoading = true;
    for (const int k : {int(Key::Escape), int(Key::F1), int(Key::F10), int(Key::F12), int('A')}) {
        int key = k;
        form->Form_KeyDown(key, k == Key::F12 ? Key::CtrlMask : 0);
        EXPECT_EQ(key, 0) << k;
    }
    EXPECT_EQ(ran, QStringList());
    EXPECT_FALSE(form->finished());
    form->state.ListLoading = false;
    int escape = Key::Escape;
    form->Form_KeyDown(escape, 0);
    EXPECT_TRUE(form->finished());
}

TEST_F(CommandWiringTest, statusBar_panelsRunTheirOperationByButtonAndClickKind)
{
    record({u"ChangeUserName"_s, u"ToggleLockKey3"_s, u"ToggleLockKey4"_s, u"ToggleLockKey5"_s,
        u"ToggleLockKey6"_s});
    // ChangeUserName is called directly by the panels; count it through the name it asks for.
    const struct {
        int button, panel;
        bool doubleClick;
        QString runs;
        bool asksName;
    } cases[] = {
        {Mouse::Left, 7, false, {}, false}, {Mouse::Right, 7, false, {}, true}, {Mouse::Left, 7, true, {}, true},
        {Mouse::Right, 7, true, {}, true}, {Mouse::Right, 1, false, {}, false}, {Mouse::Left, 1, true, {}, false},
        {Mouse::Left, 2, true, {}, false}, {Mouse::Left, 3, true, u"ToggleLockKey3"_s, false},
        {Mouse::Left, 4, true, u"ToggleLockKey4"_s, false}, {Mouse::Right, 5, true, u"ToggleLockKey5"_s, false},
        {Mouse::Left, 6, true, u"ToggleLockKey6"_s, false}, {Mouse::Left, 3, false, {}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "panel " << c.panel << " button " << c.button);
        ran.clear();
        const size_t asked = ui.inputs.size();
        form->stbMain_MouseDown(c.button);
        if (c.doubleClick)
            form->stbMain_PanelDblClick(c.panel);
        else
            form->stbMain_PanelClick(c.panel);
        EXPECT_EQ(ran, c.runs.isEmpty() ? QStringList() : QStringList{c.runs});
        EXPECT_EQ(ui.inputs.size() - asked, c.asksName ? 1u : 0u);
    }
}

TEST_F(CommandWiringTest, threeMenus_clearOtherSelectionsAndFocusTheirListAsTheyOpen)
{
    const struct {
        QString menu;
        ListControl *focused; // nullptr: the focus stays where it was
        std::vector<ListControl *> cleared;
    } cases[] = {
        {u"mnuPopupFiles"_s, &files(), {&projects()}},
        {u"mnuPopupList"_s, &projects(), {&files(), &topics()}},
        {u"mnuSortTopicList"_s, &topics(), {&projects(), &files()}},
        {u"mnuSortProjects"_s, nullptr, {}},
        {u"mnuTopicPopup"_s, nullptr, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.menu.toStdString());
        for (ListControl *list : {&projects(), &topics(), &files()}) {
            list->clear();
            list->addRow(u"one"_s);
            list->addRow(u"two"_s);
            list->selectRow(1);
        }
        form->giveFocus(nullptr);
        form->menuAboutToShow(c.menu);
        for (ListControl *list : {&projects(), &topics(), &files()}) {
            const bool cleared = std::find(c.cleared.begin(), c.cleared.end(), list) != c.cleared.end();
            EXPECT_EQ(selectedRows(*list), cleared ? QList<int>() : QList<int>{1});
            EXPECT_EQ(list->hasFocus(), list == c.focused);
        }
    }
}

} // namespace
} // namespace corvanta::test

#pragma once

#include "app/IniFile.h"
#include "app/MainForm.h"
#include "app/Navigation.h"
#include "compose/Program.h"
#include "support/FakeClipboard.h"
#include "support/FakeFormUi.h"
#include "support/FakeShell.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace corvanta::test {

// The whole program over a fresh data folder, driven through the fakes.
class FormFixture : public ::testing::Test {
protected:
    TempFolder data;
    FakeFormUi ui;
    FakeClock clock;
    FakeShell shell;         // records what is launched
    FakeClipboard clipboard; // where cut names and copied targets go, never the desktop's
    std::unique_ptr<Program> program;
    MainForm *form = nullptr;
    QString executableFolder; // where the program would lie, for its installed files
    mutable Store ownStore;   // the test's own file steps before the program is made
    PrintService *printService = nullptr; // a test's printer, if it prints

    // The program's store once it is made, so that the test's reads and writes count as its own.
    Store &store() const { return program ? program->store() : ownStore; }

    // The services the program is made with; a test may add fakes first.
    virtual Platform platform()
    {
        Platform p{ui, clock, &shell};
        p.clipboard = &clipboard;
        p.printing = printService;
        return p;
    }

    // Makes the program (again), not yet started.
    void make()
    {
        program.reset();
        program = std::make_unique<Program>(platform(), ModalWindows::of(ui), data.path(), executableFolder);
        form = &program->form();
    }

    // Starts the program as the window would: a known user, no Getting Started window.
    void start(bool quiet = true)
    {
        if (quiet) {
            setIni(u"User"_s, u"Name"_s, u"Tester"_s);
            setIni(u"Startup Window"_s, u"Display Window"_s, u"False"_s);
        }
        make();
        form->Form_Load();
    }

    void setIni(const QString &section, const QString &key, const QString &value)
    {
        EXPECT_TRUE(WriteIniString(store(), data.file(u"Corvanta.Ini"_s), section, key, value));
    }
    QString ini(const QString &section, const QString &key) const
    {
        return ReadIniString(store(), data.file(u"Corvanta.Ini"_s), section, key, QString());
    }

    Navigation &nav() { return form->navigation(); }
    ListControl &projects() { return form->lstProjectList; }
    ListControl &topics() { return form->lstTopicList; }
    ListControl &files() { return form->lstFileList; }

    bool enabled(const char *item) const { return form->commands.item(QString::fromLatin1(item))->enabled; }
    void select(const QList<int> &rows) // exactly these rows of the File List
    {
        files().deselectAll();
        for (int row : rows)
            files().selectRow(row);
    }

    static QStringList rows(const ListControl &list)
    {
        QStringList out;
        for (int i = 0; i < list.ListCount(); ++i)
            out << list.rowText(i);
        return out;
    }

    static QList<int> selectedRows(const ListControl &list)
    {
        QList<int> out;
        for (int i = 0; i < list.ListCount(); ++i) {
            if (list.isSelected(i))
                out << i;
        }
        return out;
    }

    // A user's double-click on a row: the press selects it, then the double-click.
    static void doubleClick(ListControl &list, int row)
    {
        list.userMouseDown(row, 1, 0);
        list.userDoubleClick(row);
    }
    static void click(ListControl &list, int row) { list.userMouseDown(row, 1, 0); }
};

} // namespace corvanta::test

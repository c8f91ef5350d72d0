#pragma once

#include "app/IniFile.h"
#include "app/MainForm.h"
#include "compose/Program.h"
#include "gui/ListBox.h"
#include "gui/MainWindow.h"
#include "gui/QtUi.h"
#include "support/FakeFileDialogs.h"
#include "support/FakeUi.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace corvanta::test {

// The real main window over a data folder the test lays first. The core's boxes would block,
// so the form gets a QtUi that these paths never ask anything.
class WindowFixture : public ::testing::Test
{
protected:
    TempFolder data;
    QtUi ui;
    FakeClock clock;
    FakeFileDialogs dialogs;
    std::unique_ptr<Program> program;
    MainForm *form = nullptr;
    std::unique_ptr<MainWindow> window;

    // A known user, no Getting Started window; helpFolder is where the help documents lie.
    void startWindow(const QString &helpFolder = QString())
    {
        const QString ini = data.file(u"Corvanta.Ini"_s);
        Store store; // the test's own, before the program's is made
        EXPECT_TRUE(WriteIniString(store, ini, u"User"_s, u"Name"_s, u"Tester"_s));
        EXPECT_TRUE(WriteIniString(store, ini, u"Startup Window"_s, u"Display Window"_s, u"False"_s));
        program = std::make_unique<Program>(
            Platform {ui, clock, nullptr, &dialogs}, ModalWindows::of(ui), data.path(), helpFolder);
        form = &program->form();
        window = std::make_unique<MainWindow>(*form, ui);
        form->Form_Load();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override
    {
        window.reset();
        program.reset();
    }
};

} // namespace corvanta::test

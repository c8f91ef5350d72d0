#pragma once

#include "platform/Keys.h"
#include "search/FileSearch.h"
#include "support/FakeFolderPicker.h"
#include "support/FakePrinter.h"
#include "support/FormFixture.h"

#include <QLocale>

#include <memory>

namespace corvanta::test {

// A search window over a main window and a folder tree of its own, driven through the fakes.
class FileSearchFixture : public FormFixture
{
protected:
    FakePrinter printer;
    FakeFolderPicker picker;
    Editors *editors = nullptr; // what adds the selected results
    TempFolder tree;
    std::unique_ptr<FileSearch> search;
    std::vector<FileSearch::Change> changes;
    QStringList texts; // every text the text box was given, in order
    QStringList captions; // every window caption, in order

    Platform platform() override
    {
        Platform p = FormFixture::platform();
        p.printing = &printer;
        return p;
    }

    void SetUp() override
    {
        // Numbers as the C locale writes them, with "," between thousands.
        QLocale::setDefault(QLocale::c());
        start();
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void open(std::vector<DriveEntry> drives = {})
    {
        if (drives.empty())
            drives.push_back({tree.path(), tree.path()});
        search = std::make_unique<FileSearch>(form->context(), drives, &picker, editors);
        search->onChanged = [this](FileSearch::Change c) {
            changes.push_back(c);
            if (c == FileSearch::Change::Text)
                texts << search->txtFileSearch();
            if (c == FileSearch::Change::Caption)
                captions << search->caption();
        };
        search->Form_Load();
    }

    void file(const QString &relative) { tree.write(relative, "x"); }

    // The user types text and presses Enter.
    void enter(const QString &text)
    {
        search->txtFileSearch_Change(text);
        int key = Key::Return;
        search->txtFileSearch_KeyDown(key, 0);
    }
    // ... and the window's events run until the search has ended, its closing pause included.
    void searchFor(const QString &text)
    {
        enter(text);
        ui.runEvents([this] { return !search->SearchRunning; });
        clock.runTimers();
    }

    QString path(const QString &relative) const { return tree.file(relative); }

    ListControl &results() { return search->lstFileSearch; }

    // Rows with the given paths, as a finished search leaves them.
    void fill(int count)
    {
        for (int i = 0; i < count; ++i)
            results().addRow(u"/data/file%1.txt"_s.arg(i));
    }
    void select(std::initializer_list<int> rows)
    {
        for (int row : rows) {
            results().setRow(row);
            results().setSelected(true);
        }
    }
    int count(FileSearch::Change c) const
    {
        return int(std::count(changes.begin(), changes.end(), c));
    }
};

} // namespace corvanta::test

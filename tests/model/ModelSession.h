#pragma once

#include "model/ReferenceModel.h"
#include "support/FakeClipboard.h"
#include "support/FakeFileDialogs.h"
#include "support/FakeFormUi.h"
#include "support/FakeShell.h"
#include "support/TempFolder.h"
#include "store/Store.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <random>
#include <set>

namespace corvanta {
class ListControl;
class MainForm;
class PointerEditor;
class Program;
} // namespace corvanta

namespace corvanta::test {

// A user at work: a seeded random sequence of actions played through the main form, the fakes
// answering every dialog, each action told to a reference model of what the data folder must
// then hold. After every action the data folder, the lists on screen and the model must agree.
class ModelSession
{
public:
    explicit ModelSession(quint32 seed);
    ~ModelSession();

    // Plays up to steps actions; the first disagreement as "step N (action): what differs", or
    // "" when all agreed.
    QString run(int steps);
    // The actions played so far, one a line.
    QStringList log;
    // How often clean-up asked its second question (more than half of all folders to go).
    int secondCleanupQuestions = 0;

    // The actions a user takes; each plays one through the form and updates the model. Add new
    // ones to the table in ModelSession.cpp.
    void openProject();
    void entryScreen();
    void clickTopic();
    void createProject();
    void createTopic();
    void renameProject();
    void renameTopic();
    void deleteProject();
    void deleteTopic();
    void cutProject();
    void pasteProject();
    void cutTopic();
    void pasteTopic();
    void sortOrRebuild();
    void addPointer();
    void editPointer();
    void removePointers();
    void cutOrCopyPointers();
    void pastePointers();
    void cleanUp();
    void restart();
    void saveUserFile();
    // Undo, then Redo, now and then with a Copy between, of whatever step is last: the data
    // folder must be as the model was before that step (but for Paste.Lst and the user's own
    // files, which no Undo touches), then as after it. Undo is refused only with a reason the
    // data folder shows; Redo only when Paste.Lst no longer holds what an undone Cut left there,
    // and no pointer that was in a file before the Undo and before the Redo is in none after it.
    void undoAndRedo();

private:
    using Play = std::function<void(PointerEditor &)>;

    TempFolder data;
    TempFolder outside; // a folder of the user's beside the data folder
    mutable Store observer; // the test's own looks at the files, apart from the program's
    FakeFormUi ui;
    FakeClock clock;
    FakeClipboard clipboard;
    FakeShell shell;
    FakeFileDialogs dialogs;
    std::unique_ptr<Program> program;
    MainForm *form = nullptr;
    ReferenceModel model;
    std::mt19937 random;
    std::deque<Play> plays; // the user in each editor, in turn; none left: Exit
    QString failure;            // what an action itself found wrong
    bool expectedError = false; // the action ends in a file-system error box
    int userFiles = 0;
    // The model before and after each step the program's Undo holds, the last on top.
    std::vector<std::pair<ReferenceModel, ReferenceModel>> undoModels;
    // The model now with one step undone (to then, from left) or redone: what the step changed is
    // as then; the rest is as it is now (Paste.Lst; the user's files, which move with a folder the
    // step renamed; what came after the step and is no part of it, such as a project opened).
    ReferenceModel asNow(const ReferenceModel &then, const ReferenceModel &left) const;

    void start();
    QStringList check();

    // --- choosing ---
    int pick(int count) { return count <= 0 ? -1 : int(random() % unsigned(count)); }
    bool chance(int percent) { return pick(100) < percent; }
    QString pickOf(const QStringList &choices) { return choices.at(pick(int(choices.size()))); }
    QString pickName();

    // --- the screen ---
    ListControl &projects();
    ListControl &topics();
    ListControl &files();
    QString level() const; // the open project, "" at the entry screen
    QString topicName(int row); // a Topic List row's name; " ..." for the project row
    QString relative(const QString &path) const;
    void click(ListControl &list, int row, int shift = 0);
    bool menu(const char *item); // runs an enabled item; false when it is disabled
    bool pasteTook(const char *item, const QString &cut, const QString &text, bool refused);
    // A right-click on row and the popup's item, when it is enabled.
    void popupItem(ListControl &list, int row, const char *item);
    void answer(std::initializer_list<int> answers);
    // Topic List rows other than row that show file.
    bool fileShownElsewhere(const QString &file, int row);
    // A click on a row and a few Ctrl-clicks on others.
    void selectSomeFiles();
    void cutOrCopy(bool cut);
    // Every pointer record in a File List file or Paste.Lst.
    std::set<QString> pointersOnDisk() const;
};

// What a list's rows store: its names or pointer records, trimmed, without blank rows and the
// project row.
QStringList rowsOf(const ListControl &list);
QStringList stored(const QStringList &rows, bool names);
QStringList storedNames(const ListControl &list);
QStringList storedRecords(const ListControl &list);
bool isPartOf(QStringList part, QStringList whole);
// A File List file's stored lines after rows were taken out of it: one line for each, the rest
// in their stored order, however the list is shown.
QStringList without(QStringList lines, const QStringList &rows);

} // namespace corvanta::test

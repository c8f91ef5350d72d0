#include "model/ModelSession.h"

#include "app/IniFile.h"
#include "app/Launcher.h"
#include "compose/Program.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <QDir>

#include <algorithm>
#include <stdexcept>

namespace corvanta::test {

namespace {

// One kind of user action and how often it comes.
struct UserAction {
    const char *name;
    int weight;
    void (ModelSession::*play)();
};

const UserAction Actions[] = {
    {"open a project", 8, &ModelSession::openProject},
    {"return to the entry screen", 3, &ModelSession::entryScreen},
    {"click a topic", 10, &ModelSession::clickTopic},
    {"create a project", 6, &ModelSession::createProject},
    {"create a topic", 7, &ModelSession::createTopic},
    {"rename a project", 3, &ModelSession::renameProject},
    {"rename a topic", 4, &ModelSession::renameTopic},
    {"delete a project", 2, &ModelSession::deleteProject},
    {"delete a topic", 3, &ModelSession::deleteTopic},
    {"cut a project name", 2, &ModelSession::cutProject},
    {"paste a project name", 3, &ModelSession::pasteProject},
    {"cut a topic name", 3, &ModelSession::cutTopic},
    {"paste a topic name", 4, &ModelSession::pasteTopic},
    {"sort or rebuild a list", 8, &ModelSession::sortOrRebuild},
    {"add a pointer", 10, &ModelSession::addPointer},
    {"edit or rename a pointer", 5, &ModelSession::editPointer},
    {"remove pointers", 4, &ModelSession::removePointers},
    {"cut or copy pointers", 4, &ModelSession::cutOrCopyPointers},
    {"paste pointers", 4, &ModelSession::pastePointers},
    {"clean up project files", 2, &ModelSession::cleanUp},
    {"restart the program", 2, &ModelSession::restart},
    {"save a document of the user's", 2, &ModelSession::saveUserFile},
    {"undo and redo", 4, &ModelSession::undoAndRedo},
};

// Names a user might type: plain, spaced, accented, differing only in case, padded, holding the
// list marker's dots or characters no file name may hold.
const QStringList Names = {
    QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma"), QStringLiteral("Delta Two"),
    QStringLiteral("Épsilon"), QStringLiteral("Zeta"), QStringLiteral("alpha"), QStringLiteral("  Padded  "),
    QStringLiteral("Plans"), QStringLiteral("Notes"), QStringLiteral("Inbox"), QStringLiteral("Old...Stuff"),
    QStringLiteral("Bad/Name"), QStringLiteral("Tab\tName"), QStringLiteral("Omega"), QStringLiteral("Stray Work"),
    QStringLiteral("Ideas"), QStringLiteral("Receipts"), QString(),
};

QStringList sortedCopy(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

// Whether every line of part is in whole, counted.
bool isPartOf(QStringList part, QStringList whole)
{
    for (const QString &line : part) {
        if (!whole.removeOne(line))
            return false;
    }
    return true;
}

QStringList rowsOf(const ListControl &list)
{
    QStringList rows;
    for (int i = 0; i < list.ListCount(); ++i)
        rows << list.rowText(i);
    return rows;
}

QStringList stored(const QStringList &rows, bool names)
{
    QStringList out;
    for (const QString &row : rows) {
        const QString line = trimSpaces(row);
        if (!line.isEmpty() && !(names && isProjectRow(row)))
            out << line;
    }
    return out;
}

QStringList without(QStringList lines, const QStringList &rows)
{
    for (const QString &line : stored(rows, false))
        lines.removeOne(line);
    return lines;
}

QStringList storedNames(const ListControl &list) { return stored(rowsOf(list), true); }
QStringList storedRecords(const ListControl &list) { return stored(rowsOf(list), false); }

ModelSession::ModelSession(quint32 seed) : random(seed)
{
    // A data folder as an older version and a careful user left it: a name holding "...", a
    // pointer without a display name, the user's documents inside a project folder and an
    // orphaned one, and a folder of the user's outside.
    const auto lay = [this](const QString &path, const QStringList &lines) {
        data.write(path, lines.isEmpty() ? QByteArray() : (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
        model.list(path) = lines;
    };
    lay(QStringLiteral("Project.List"), {QStringLiteral("Alpha"), QStringLiteral("Old...Stuff")});
    lay(QStringLiteral("Project.Topics"), {QStringLiteral("Inbox")});
    lay(QStringLiteral("Project.Files"), {QStringLiteral("Home\thttp://example.org")});
    lay(QStringLiteral("Projects/Inbox.Files"), {QStringLiteral("Letter\t/home/u/letter.odt")});
    lay(QStringLiteral("Projects/Alpha/Alpha.List"), {QStringLiteral("Plans"), QStringLiteral("Notes")});
    lay(QStringLiteral("Projects/Alpha/Alpha.Files"), {});
    lay(QStringLiteral("Projects/Alpha/Plans.Files"), {QStringLiteral("\t/nameless"), QStringLiteral("One\t/1")});
    lay(QStringLiteral("Projects/Alpha/Notes.Files"), {QStringLiteral("Two\tmailto:two@example.org")});
    lay(QStringLiteral("Projects/Old...Stuff/Old...Stuff.List"), {});
    lay(QStringLiteral("Projects/Old...Stuff/Old...Stuff.Files"), {QStringLiteral("Kept\t/k")});
    // Six of the eight folders are orphans: an early clean-up asks its second question.
    lay(QStringLiteral("Projects/Stray/Stray.List"), {QStringLiteral("Lost")});
    const char *const orphans[] = {"Leftover", "Scraps", "Attic", "Bygone", "Dusty"};
    for (const char *orphan : orphans)
        lay(QStringLiteral("Projects/%1/%1.Files").arg(QLatin1String(orphan)), {QStringLiteral("Old\t/old")});
    for (const char *folder : {"Alpha", "Old...Stuff", "Stray", "Leftover", "Scraps", "Attic", "Bygone", "Dusty"})
        model.folders.insert(QStringLiteral("Projects/") + QLatin1String(folder));
    for (const char *file : {"Projects/Alpha/letter.odt", "Projects/Stray/thesis.odt", "Projects/Alpha/drafts/one.txt"}) {
        data.write(QString::fromLatin1(file), QByteArray("the user's own ") + file);
        model.userFiles[QString::fromLatin1(file)] = QByteArray("the user's own ") + file;
    }
    outside.write(QStringLiteral("precious.txt"), "keep me");
    const QString ini = data.file(QStringLiteral("Corvanta.Ini"));
    if (!WriteIniString(observer, ini, QStringLiteral("User"), QStringLiteral("Name"), QStringLiteral("Tester"))
        || !WriteIniString(observer, ini, QStringLiteral("Startup Window"), QStringLiteral("Display Window"), QStringLiteral("False")))
        throw std::runtime_error("the model's settings file could not be written");

    // The user answers the questions; a refusal between takes none of the answers meant for them.
    ui.answersForQuestionsOnly = true;
    ui.onPointerEditor = [this](PointerEditor &editor) {
        if (!plays.empty()) {
            const Play play = plays.front();
            plays.pop_front();
            play(editor);
        }
        editor.cmdExit_Click(); // a refused save leaves the editor open
    };
    start();
}

ModelSession::~ModelSession() = default;

void ModelSession::start()
{
    program.reset();
    Platform platform{ui, clock, &shell, &dialogs};
    platform.clipboard = &clipboard;
    program = std::make_unique<Program>(platform, ModalWindows::of(ui), data.path());
    form = &program->form();
    form->Form_Load();
    undoModels.clear(); // the history is the run's
}

QString ModelSession::run(int steps)
{
    int total = 0;
    for (const UserAction &action : Actions)
        total += action.weight;
    for (int step = 1; step <= steps; ++step) {
        int roll = pick(total);
        const UserAction *action = Actions;
        while (roll >= action->weight)
            roll -= (action++)->weight;
        log << QString::number(step) + u' ' + QLatin1String(action->name);
        ui.boxes.clear();
        expectedError = false;
        const ReferenceModel before = model;
        const int recorded = form->undo.recordedCount();
        (this->*action->play)();
        if (action->play != &ModelSession::undoAndRedo && form->undo.recordedCount() != recorded) {
            undoModels.emplace_back(before, model);
        }
        // The history holds so many steps: the oldest went.
        while (int(undoModels.size()) > form->undo.undoCount())
            undoModels.erase(undoModels.begin());
        plays.clear();
        ui.answers.clear();
        ui.onPopup = nullptr;
        const QStringList differences = check();
        if (!differences.isEmpty())
            return QStringLiteral("step ") + QString::number(step) + QStringLiteral(" (") + QLatin1String(action->name)
                + QStringLiteral("): ") + differences.join(u"; ");
    }
    return QString();
}

QStringList ModelSession::check()
{
    QStringList differences = model.compare(data);
    if (!failure.isEmpty())
        differences << failure;
    if (!outside.exists(QStringLiteral("precious.txt")))
        differences << QStringLiteral("the user's folder outside lost a file");
    for (const ShownBox &box : ui.boxes) {
        if (box.title == u" File Not Saved" || (box.title.startsWith(u" Error ") && !expectedError))
            differences << QStringLiteral("a box:") + box.title + u' ' + box.text;
    }
    // The File List shows its file, which exists, and the highlighted topic is the one it shows.
    const QString shown = relative(form->state.FileListPath);
    if (!model.exists(shown))
        differences << QStringLiteral("the File List shows ") + shown + QStringLiteral(", which does not exist");
    if (sortedCopy(storedRecords(files())) != sortedCopy(model.lines(shown)))
        differences << QStringLiteral("the File List does not show ") + shown + QStringLiteral(": {")
                + storedRecords(files()).join(u" | ") + u'}';
    const int highlighted = topics().ListIndex();
    if (topics().isSelected(highlighted)) {
        const QString name = topicName(highlighted);
        if (isUsableFileName(name) && fileListPath(level(), name) != shown)
            differences << QStringLiteral("topic ") + name + QStringLiteral(" is highlighted, ") + shown
                    + QStringLiteral(" shown");
    }
    // Pointers waiting in Paste.Lst can always be pasted, whatever happened in the name lists.
    const MenuItem *pasteAtEnd = form->commands.item(QStringLiteral("mnuPasteFiles"));
    if (!model.lines(QStringLiteral("Paste.Lst")).isEmpty() && !(pasteAtEnd && pasteAtEnd->enabled))
        differences << QStringLiteral("Paste.Lst holds pointers but \"Paste At End Of File List\" is disabled");
    // A list on screen never shows a name its file lacks (a cut name may be missing from it).
    if (!isPartOf(storedNames(projects()), model.lines(QStringLiteral("Project.List"))))
        differences << QStringLiteral("the Project List shows names Project.List lacks");
    if (!isPartOf(storedNames(topics()), model.lines(relative(form->state.TopicListPath))))
        differences << QStringLiteral("the Topic List shows names its file lacks");
    return differences;
}

// --- the screen ---

ListControl &ModelSession::projects() { return form->lstProjectList; }
ListControl &ModelSession::topics() { return form->lstTopicList; }
ListControl &ModelSession::files() { return form->lstFileList; }
QString ModelSession::level() const { return form->state.CurrentProject; }

QString ModelSession::topicName(int row)
{
    const QString name = topics().columnText(row, 0);
    return isProjectRow(name) ? name : trimSpaces(name);
}

QString ModelSession::relative(const QString &path) const
{
    return QDir(data.path()).relativeFilePath(path);
}

QString ModelSession::pickName()
{
    return pickOf(Names);
}

void ModelSession::popupItem(ListControl &list, int row, const char *item)
{
    ui.onPopup = [this, item](const QString &) { menu(item); };
    list.userMouseDown(row, Mouse::Right, 0);
    ui.onPopup = nullptr;
}

void ModelSession::click(ListControl &list, int row, int shift)
{
    list.userMouseDown(row, Mouse::Left, shift);
}

bool ModelSession::menu(const char *item)
{
    const QString name = QString::fromLatin1(item);
    const MenuItem *entry = form->commands.item(name);
    if (!entry || !entry->enabled)
        return false;
    form->menuClick(name);
    return true;
}

void ModelSession::answer(std::initializer_list<int> answers)
{
    ui.answers.assign(answers.begin(), answers.end());
}

bool ModelSession::fileShownElsewhere(const QString &file, int row)
{
    for (int i = 0; i < topics().ListCount(); ++i) {
        if (i != row && fileListPath(level(), topicName(i)) == file)
            return true;
    }
    return false;
}

} // namespace corvanta::test

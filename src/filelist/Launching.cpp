#include "filelist/Launching.h"

#include "app/CommandSurface.h"
#include "app/Operations.h"
#include "app/UndoHistory.h"
#include "app/SharedState.h"
#include "platform/Clipboard.h"
#include "platform/DesktopEntries.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace corvanta {

namespace {

// A pointer line's two fields: the text before the first TAB and the text after it.
QString nameField(const QString &line)
{
    return line.section(u'\t', 0, 0);
}
QString targetField(const QString &line)
{
    const qsizetype tab = line.indexOf(u'\t');
    return tab < 0 ? QString() : line.mid(tab + 1);
}

} // namespace

Launching::Launching(const FeatureContext &context)
    : c(context), s(context.state), launcher_(context.ui, context.platform.shell, context.state)
{
    registerOperations();
}

void Launching::registerOperations()
{
    auto reg = [this](const char *name, std::function<void()> operation) {
        c.operations.add(QString::fromLatin1(name), std::move(operation));
    };
    reg("optOpen_Click", [this] { optOpen_Click(); });
    reg("optPrint_Click", [this] { optPrint_Click(); });
    reg("mnuOpenFiles", [this] { optOpen_Click(); });
    reg("mnuPrintFiles", [this] { optPrint_Click(); });
    reg("mnuOpenSelectedFiles", [this] { mnuOpenSelectedFiles_Click(); });
    reg("mnuPrintSelectedFiles", [this] { mnuPrintSelectedFiles_Click(); });
    reg("OpenWithProgram", [this] { OpenWithProgram(); });
    reg("mnuSelectProgram", [this] { OpenWithProgram(); });
    reg("mnuOpenContainingFolder", [this] { OpenContainingFolder(); });
    reg("mnuCopyTarget", [this] { CopyTarget(); });

    using Tool = Launcher::Tool;
    const struct
    {
        const char *item;
        Tool tool;
    } tools[] = {
        {"mnuCalculator", Tool::Calculator},
        {"mnuNotePad", Tool::TextEditor},
        {"mnuWrite", Tool::WordProcessor},
        {"mnuWindowsControlPanel", Tool::Settings},
        {"mnuTaskManager", Tool::SystemMonitor},
        {"mnuWindowsExplorer", Tool::FileManager},
    };
    for (const auto &t : tools) {
        const QString item = QString::fromLatin1(t.item);
        const Tool tool = t.tool;
        // The data folder is where the file manager opens.
        c.operations.add(item, [this, item, tool] {
            startTool(tool, caption(item), tool == Tool::FileManager ? s.ProgramFolder : QString());
        });
    }
    const auto editFileList = [this] { editListFile(QStringLiteral("Project.Files")); };
    const auto editProjectList = [this] { editListFile(QStringLiteral("Project.List")); };
    reg("mnuEditFileList", editFileList);
    reg("entry:Edit File List", editFileList);
    reg("mnuEditProjectList", editProjectList);
    reg("entry:Edit Project List", editProjectList);
    reg("StartCommandPrompt", [this] { startTool(Tool::Terminal, QStringLiteral("Terminal")); });
}

QString Launching::caption(const QString &itemName) const
{
    const MenuItem *item = c.commands.item(itemName);
    return item ? item->caption : itemName;
}

// --- Open / Print mode ---

void Launching::setMode(bool open)
{
    c.window.setOptOpen(open);
    c.commands.setChecked(QStringLiteral("mnuOpenFiles"), open);
    c.commands.setChecked(QStringLiteral("mnuPrintFiles"), !open);
    if (s.ActiveList == ActiveList::Files)
        c.window.giveFocus(&c.lstFileList);
    else if (s.ActiveList == ActiveList::Topics)
        c.window.giveFocus(&c.lstTopicList);
    else if (s.ActiveList == ActiveList::Projects)
        c.window.giveFocus(&c.lstProjectList);
}

void Launching::optOpen_Click()
{
    setMode(true);
}

void Launching::optPrint_Click()
{
    setMode(false);
}

// --- launching the selection ---

void Launching::launchSelected(LaunchVerb verb)
{
    if (c.lstFileList.ListCount() == 0) {
        c.ui.beep();
        c.window.giveFocus(&c.lstProjectList);
        return;
    }
    LaunchSelectedFiles(verb == LaunchVerb::Print || (verb == LaunchVerb::Chosen && !c.window.optOpen()));
}

void Launching::mnuOpenSelectedFiles_Click()
{
    launchSelected(LaunchVerb::Open);
}

void Launching::mnuPrintSelectedFiles_Click()
{
    launchSelected(LaunchVerb::Print);
}

void Launching::refuseEmptyTarget(const QString &lineEnd)
{
    c.ui.beep();
    c.window.giveFocus(&c.lstProjectList);
    c.ui.msgBox(QStringLiteral("No File Has Been Selected.") + fiveSpaces() + lineEnd,
        QStringLiteral(" No File To Search For"), MsgBox::OkOnly | MsgBox::Exclamation);
}

void Launching::LaunchSelectedFiles(bool print)
{
    ListControl &list = c.lstFileList;
    const int n = list.SelCount();
    for (int i = 1; i <= n; ++i) {
        const int row = n <= 1 ? list.actionRow() : list.NextSel();
        list.setRow(row);
        list.setCol(1);
        const QString target = list.ColList().trimmed();
        QString verb = print ? QStringLiteral("print") : QStringLiteral("open");
        if (target.isEmpty()) {
            refuseEmptyTarget(QStringLiteral("\r"));
            break;
        }
        if (target.right(3).toLower() == u"exe")
            verb.clear(); // programs are started even in print mode
        if (launcher_.LaunchTarget(target, verb).outcome == LaunchResult::Outcome::NotFound) {
            missingRow_ = row;
            missingTarget_ = target;
            RemoveMissingFile();
            break;
        }
        if (n == 1)
            break;
    }
    list.resetNextSel();
}

void Launching::RemoveMissingFile()
{
    const QString target = userText(missingTarget_);
    const QString text = QStringLiteral("The File  [") + target
        + QStringLiteral("]  Was Not Found.\r") + QStringLiteral("Do You Want To Remove  [")
        + target + QStringLiteral("]  From File List?") + fiveSpaces() + u'\r';
    if (c.ui.msgBox(text, u' ' + target + QStringLiteral("  Not Found"),
            MsgBox::YesNo | MsgBox::DefaultButton2)
        != MsgBox::Yes)
        return;

    ListControl &list = c.lstFileList;
    const int row = missingRow_;
    if (row < 0 || row >= list.ListCount())
        return;
    const QString rowText = list.rowText(row);
    const QString name = trimSpaces(nameField(rowText));
    const QString rowTarget = trimSpaces(targetField(rowText));

    list.setRow(row);
    list.removeRow(row);
    const int count = list.ListCount();
    if (count > 0) {
        const int next = std::min(row, count - 1);
        list.setRow(next);
        list.setListIndex(next);
        list.setSelected(true);
    }

    // Rewritten from the file itself, so lines the list never showed stay as they were; only
    // the failing pointer's own line goes, not others that share its name.
    const QString path = s.FileListPath;
    if (path.isEmpty())
        return;
    QStringList lines;
    SaveResult saved;
    if (!readLinesForRewrite(c.store, path, lines, &saved.reason)) {
        saved.ok = false;
        reportSaveFailure(c.store, c.ui, path, saved);
    } else {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (trimSpaces(nameField(lines[i])) == name && trimSpaces(targetField(lines[i])) == rowTarget) {
                lines.removeAt(i);
                PointerChange change(c.undo, QStringLiteral("Remove ") + pointerCount(1));
                change.touch(path);
                saved = saveLines(c.store, path, lines);
                reportSaveFailure(c.store, c.ui, path, saved);
                break;
            }
        }
    }
    if (!saved.ok) {
        // The file still holds the pointer, so the list shows it again.
        list.setRow(row);
        list.insertRow(rowText);
    }
}

void Launching::OpenWithProgram()
{
    ListControl &list = c.lstFileList;
    list.setRow(list.ListIndex());
    list.setCol(1);
    const QString target = list.ColList().trimmed();
    if (target.isEmpty()) {
        refuseEmptyTarget(QString());
        return;
    }
    ++openWithCount_;
    c.window.giveFocus(&c.lstFileList);
    launcher_.openWith(target);
}

void Launching::OpenContainingFolder()
{
    ListControl &list = c.lstFileList;
    const int row = list.ListIndex();
    const QString target = row >= 0 && row < list.ListCount() ? targetField(list.rowText(row)).trimmed()
                                                              : QString();
    if (!isFileTarget(target)) {
        c.ui.beep();
        return;
    }
    // A target without a leading '/' lies in the data folder.
    const QString path =
        QDir::cleanPath(QDir::isRelativePath(target) ? s.ProgramFolder + u'/' + target : target);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        c.ui.msgBox(QStringLiteral("The Folder  [") + folder + QStringLiteral("]  Was Not Found.")
                + fiveSpaces() + u'\r',
            QStringLiteral(" Folder Not Found"), MsgBox::OkOnly | MsgBox::Exclamation);
        return;
    }
    // The file manager selects the file when it offers that; else the folder opens by itself.
    if (QFileInfo::exists(path) && c.platform.shell && c.platform.shell->showInFolder(path))
        return;
    (void)launcher_.LaunchTarget(folder, QStringLiteral("open"));
}

void Launching::CopyTarget()
{
    ListControl &list = c.lstFileList;
    QStringList targets;
    for (int row = 0; row < list.ListCount(); ++row) {
        const QString target = targetField(list.rowText(row)).trimmed();
        if (list.isSelected(row) && !target.isEmpty())
            targets.append(target);
    }
    if (targets.isEmpty() || !c.platform.clipboard) {
        c.ui.beep();
        return;
    }
    c.platform.clipboard->setText(targets.join(u'\n'));
}

// --- the desktop's tools ---

void Launching::startTool(Launcher::Tool tool, const QString &caption, const QString &file)
{
    // A tool that is not found has its box shown already; nothing else waits for it.
    static_cast<void>(launcher_.startTool(tool, caption, file));
}

void Launching::editListFile(const QString &fileName)
{
    // The entry screen's lists, whatever project is open; the lists are not reloaded after.
    startTool(Launcher::Tool::TextEditor, caption(QStringLiteral("mnuNotePad")),
        s.ProgramFolder + u'/' + fileName);
}

} // namespace corvanta

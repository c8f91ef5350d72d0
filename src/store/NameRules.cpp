#include "store/NameRules.h"

#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/ListControl.h"

#include <QFileInfo>

namespace corvanta {

bool isUsableFileName(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed == u"." || trimmed == u"..")
        return false;
    for (const QChar c : name) {
        if (c == u'/' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

QString projectRowText() { return QStringLiteral(" ..."); }

QString invalidNameTitle() { return QStringLiteral(" Invalid Input"); }

QString blankNameText() { return QStringLiteral("Input Cannot Be Blank...     \r"); }

QString newNameRefusal(const QString &name)
{
    if (name.trimmed().isEmpty())
        return blankNameText();
    if (!isUsableFileName(name) || name.contains(u'\\') || name.contains(QStringLiteral("...")))
        return invalidNameText(name);
    return QString();
}

QString invalidNameText(const QString &name)
{
    return QStringLiteral("The Name  [") + userText(name).toUpper()
        + QStringLiteral("]  Cannot Be Used As A File Name.     \r"
                         "Please Do Not Use  /  \\  ...  Or Control Characters.\r");
}

bool refuseNewName(Ui &ui, const QString &name)
{
    const QString refusal = newNameRefusal(name);
    if (refusal.isEmpty())
        return false;
    ui.msgBox(refusal, invalidNameTitle(), MsgBox::OkOnly | MsgBox::Exclamation);
    return true;
}

void showDuplicateName(Ui &ui, const QString &name, bool project)
{
    const QString kind = project ? QStringLiteral("Project") : QStringLiteral("Topic");
    const QString upper = userText(name).toLower().toUpper();
    ui.msgBox(QStringLiteral("You Have Selected A Duplicate ") + kind + QStringLiteral(" Name.") + fiveSpaces()
                  + u'\r' + upper + QStringLiteral(" Is Already On File.\r"),
              QStringLiteral(" Duplicate ") + kind + QStringLiteral(" Name: ") + upper,
              MsgBox::OkOnly | MsgBox::Exclamation);
}

QString unstorableFileReason(const QString &path)
{
    if (path.contains(u'\r') || path.contains(u'\n'))
        return QStringLiteral("The file name holds a line break.");
    // One TAB parts name from target; the editor would make one in the target a space.
    if (path.contains(u'\t'))
        return QStringLiteral("The file name holds a TAB.");
    // A list line is read without the spaces at its ends: the pointer would name another file.
    // A stray space typed after a name that is not there is dropped as before.
    if (path.endsWith(u' ') && (QFileInfo::exists(path) || QFileInfo(path).isSymLink()))
        return QStringLiteral("The file name ends in a space.");
    // A real name may hold U+FFFD itself; then the file is there under it.
    if (path.contains(QChar::ReplacementCharacter) && !QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
        return QStringLiteral("The file name is not valid text.");
    return QString();
}

QString cannotAddFileTitle() { return QStringLiteral(" Cannot Add File"); }

QString cannotAddFileText(const QString &path, const QString &reason)
{
    // The name's own line breaks would break the box's lines.
    QString shown = userText(path);
    shown.replace(u'\r', u' ').replace(u'\n', u' ').replace(u'\t', u' ');
    return QStringLiteral("The File  [") + shown + QStringLiteral("]  Cannot Be Added.     \r") + reason
        + u'\r';
}

bool refuseUnstorableFile(Ui &ui, const QString &path)
{
    const QString reason = unstorableFileReason(path);
    if (reason.isEmpty())
        return false;
    ui.msgBox(cannotAddFileText(path, reason), cannotAddFileTitle(), MsgBox::OkOnly | MsgBox::Exclamation);
    return true;
}

namespace {

// Names that differ only in letter case are the same name.
QString nameKey(const QString &name) { return name.toLower(); }

QString rowName(const ListControl &list, int row, NameField field)
{
    return field == NameField::WholeRow ? list.rowText(row) : list.columnText(row, 0);
}

} // namespace

int duplicateNameRow(const ListControl &list, const QString &name, NameField field, int exceptRow)
{
    const QString wanted = nameKey(name);
    for (int i = 0; i < list.ListCount(); ++i) {
        if (i != exceptRow && nameKey(rowName(list, i, field)) == wanted)
            return i;
    }
    return -1;
}

NameSet::NameSet(const ListControl &list, NameField field)
{
    keys_.reserve(list.ListCount());
    for (int i = 0; i < list.ListCount(); ++i)
        keys_.insert(nameKey(rowName(list, i, field)));
}

bool NameSet::contains(const QString &name) const { return keys_.contains(nameKey(name)); }

void NameSet::insert(const QString &name) { keys_.insert(nameKey(name)); }

} // namespace corvanta

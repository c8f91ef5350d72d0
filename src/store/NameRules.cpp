#include "store/NameRules.h"

#include "store/ListControl.h"

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
    return QStringLiteral("The Name  [") + name.toUpper()
        + QStringLiteral("]  Cannot Be Used As A File Name.     \r"
                         "Please Do Not Use  /  \\  ...  Or Control Characters.\r");
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

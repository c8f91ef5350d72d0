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
    return QStringLiteral("The Name  [") + name.toUpper()
        + QStringLiteral("]  Cannot Be Used As A File Name.     \r"
                         "Please Do Not Use  /  \\  ...  Or Control Characters.\r");
}

int duplicateNameRow(const ListControl &list, const QString &name, NameField field, int exceptRow)
{
    const QString wanted = name.toLower();
    for (int i = 0; i < list.ListCount(); ++i) {
        if (i == exceptRow)
            continue;
        const QString held = field == NameField::WholeRow ? list.rowText(i) : list.columnText(i, 0);
        if (held.toLower() == wanted)
            return i;
    }
    return -1;
}

} // namespace corvanta

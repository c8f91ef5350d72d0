#pragma once

#include <QString>

namespace corvanta {

// A user's text (a project, topic or pointer name) for a widget that takes "&" for an access key
// (menu items, buttons, labels with a buddy): every "&" shows as itself.
inline QString literalText(const QString &text)
{
    QString shown = text;
    return shown.replace(u'&', QStringLiteral("&&"));
}

} // namespace corvanta

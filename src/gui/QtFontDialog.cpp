#include "gui/QtFontDialog.h"

#include "gui/ListModel.h"

#include <QApplication>
#include <QFontDialog>
#include <QFontInfo>

namespace corvanta {

bool QtFontDialog::chooseFont(FontSpec &font)
{
    QFont initial = ListModel::toQFont(font);
    // A stored face this desktop lacks shows as another one; the dialog opens on that one, in
    // the style shown (without a style name it would pick the face's first style, even italic).
    const QFontInfo shown(initial);
    initial.setFamily(shown.family());
    initial.setStyleName(shown.styleName());
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, QApplication::activeWindow());
    if (!ok)
        return false;
    font.name = chosen.family();
    font.size = chosen.pointSizeF();
    font.bold = chosen.bold();
    font.italic = chosen.italic();
    return true;
}

} // namespace corvanta

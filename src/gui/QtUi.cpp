#include "gui/QtUi.h"

#include "gui/Modal.h"
#include "gui/OpenWithDialog.h"
#include "gui/StartupWindowDialog.h"
#include "gui/Twips.h"
#include "platform/MsgBox.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace corvanta {

QString QtUi::displayText(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

int QtUi::msgBox(const QString &text, const QString &title, int flags)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(displayText(text));
    switch (MsgBox::iconOf(flags)) {
    case MsgBox::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgBox::Question: box.setIcon(QMessageBox::Question); break;
    case MsgBox::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgBox::Information: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct Choice { QMessageBox::StandardButton button; int answer; };
    std::vector<Choice> choices;
    switch (MsgBox::buttonsOf(flags)) {
    case MsgBox::OkCancel: choices = {{QMessageBox::Ok, MsgBox::Ok}, {QMessageBox::Cancel, MsgBox::Cancel}}; break;
    case MsgBox::YesNo: choices = {{QMessageBox::Yes, MsgBox::Yes}, {QMessageBox::No, MsgBox::No}}; break;
    case MsgBox::YesNoCancel:
        choices = {{QMessageBox::Yes, MsgBox::Yes}, {QMessageBox::No, MsgBox::No}, {QMessageBox::Cancel, MsgBox::Cancel}};
        break;
    default: choices = {{QMessageBox::Ok, MsgBox::Ok}}; break;
    }
    for (const Choice &c : choices)
        box.addButton(c.button);
    const size_t defaultIndex = (flags & MsgBox::DefaultButton2) && choices.size() > 1 ? 1 : 0;
    box.setDefaultButton(choices[defaultIndex].button);
    // Escape answers the last button (No, Cancel) or OK when there is only one.
    box.setEscapeButton(choices.back().button);
    runModal(box, parent);
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Choice &c : choices) {
        if (c.button == clicked)
            return c.answer;
    }
    return choices.back().answer;
}

QString QtUi::inputBox(const QString &prompt, const QString &title, const QString &preset,
                       int leftTwips, int topTwips)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(preset);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.move(toPixels(leftTwips), toPixels(topTwips));
    if (runModal(dialog, parent) != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

void QtUi::beep() { QApplication::beep(); }

void QtUi::setBusy(bool busy)
{
    if (busy) {
        if (busyDepth_++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void QtUi::pumpEvents() { QCoreApplication::processEvents(); }

void QtUi::showStartupWindow(StartupWindow &window)
{
    StartupWindowDialog dialog(window, parent);
    runModal(dialog, parent);
}

void QtUi::showPopupMenu(const QString &menuName)
{
    if (popupMenu)
        popupMenu(menuName);
}

void QtUi::showPopupMenuAt(const QString &menuName, int xTwips, int yTwips)
{
    if (popupMenuAt)
        popupMenuAt(menuName, xTwips, yTwips);
}

QString QtUi::chooseProgram(const QString &target, const QString &title)
{
    OpenWithDialog dialog(target, parent);
    dialog.setWindowTitle(title);
    return runModal(dialog, parent) == QDialog::Accepted ? dialog.command() : QString();
}

} // namespace corvanta

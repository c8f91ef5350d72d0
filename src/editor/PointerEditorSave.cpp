// What Save does in each mode: hand a name back, add a pointer, or change the edited one.
#include "editor/PointerEditor.h"

#include "app/UndoHistory.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <algorithm>

namespace corvanta {

namespace {

// The display name of a row: the text before its first TAB; a row without one has none.
QString rowName(const QString &rowText)
{
    const qsizetype tab = rowText.indexOf(u'\t');
    return tab < 0 ? QString() : rowText.left(tab).trimmed();
}

} // namespace

void PointerEditor::cmdSave_Click()
{
    if (closed_)
        return;
    if (!txtInternetAddress.visible && txtPointerName.text.isEmpty()) {
        refuse(QStringLiteral("Input Cannot Be Blank...") + fiveSpaces() + u'\r',
            QStringLiteral(" Invalid Input"));
        setFocus(txtPointerName.name);
        return;
    }
    if (nameMode()) {
        ReturnEnteredName();
        return;
    }
    if (mode() == EditorMode::EditFile || mode() == EditorMode::RenameFile) {
        SaveEditedPointer();
        return;
    }
    addSave();
}

void PointerEditor::ReturnEnteredName()
{
    const QString name = txtPointerName.text.trimmed();
    // A rename to the same name is no rename.
    if (!(renameNameMode() && name == OldPointerName))
        result_ = {EditorResult::Outcome::Saved, name};
    close();
}

bool PointerEditor::writeFileList(const QStringList &lines)
{
    const EditorMode m = mode();
    PointerChange change(c.undo, m == EditorMode::EditFile ? QStringLiteral("Edit Pointer")
            : m == EditorMode::RenameFile                   ? QStringLiteral("Rename Pointer")
                                                            : QStringLiteral("Add Pointer"));
    change.touch(s.FileListPath);
    return reportSaveFailure(c.store, c.ui, s.FileListPath, saveLines(c.store, s.FileListPath, lines));
}

void PointerEditor::addSave()
{
    const EditorMode m = mode();
    const bool email = m == EditorMode::Email;
    const bool addfile = m == EditorMode::AddFile;
    const QString name = txtPointerName.text.trimmed();
    QString target = txtInternetAddress.text.trimmed();

    if (target.isEmpty()) {
        if (email)
            refuse(QStringLiteral("You Must Input or Paste An Email Address.") + fiveSpaces(),
                QStringLiteral(" Email Address Missing"));
        else if (addfile)
            refuse(QStringLiteral("You Must Input or Paste A Filename.") + fiveSpaces(),
                QStringLiteral(" Filename Missing"));
        else
            refuse(QStringLiteral("You Must Input or Paste A Website Address.") + fiveSpaces(),
                QStringLiteral(" Website Address Missing"));
        setFocus(txtInternetAddress.name);
        return;
    }
    if (m == EditorMode::Website) {
        if (!checkAddress(true))
            return;
        target = websiteTarget(target);
    } else if (email) {
        if (!checkAddress(false))
            return;
        target = emailTarget(target);
    } else if (addfile) {
        if (CheckDuplicatePointerName(name, -1)) {
            selectAll(txtPointerName);
            setFocus(txtPointerName.name);
            return;
        }
    }
    if (name.isEmpty()) {
        refuse(QStringLiteral("The Name Field Is Blank.") + fiveSpaces(),
            QStringLiteral(" You Must Input A Name"));
        setFocus(txtPointerName.name);
        return;
    }

    const QString line = name + u'\t' + target;
    ListControl &list = c.lstFileList;
    // With no row selected the new pointer goes to the end.
    const int index = optInsertName.value && row_ >= 0
        ? std::min(row_, list.ListCount())
        : list.ListCount();
    list.setRow(index);
    list.insertRow(line);

    QStringList lines;
    lines.reserve(list.ListCount());
    for (int i = 0; i < list.ListCount(); ++i)
        lines << trimSpaces(list.rowText(i));
    if (!writeFileList(lines)) {
        // The list keeps agreeing with its file; the fields stay as typed for another try.
        list.setRow(index);
        list.removeRow(index);
        return;
    }
    result_ = {EditorResult::Outcome::Saved, name};
    // The new pointer, and any row with exactly its name, ends selected.
    for (int i = 0; i < list.ListCount(); ++i) {
        list.setRow(i);
        const bool same = rowName(list.rowText(i)) == name;
        if (same)
            list.setListIndex(i);
        list.setSelected(same);
    }
    if (chkCloseAfterSave.value || addfile)
        close();
}

void PointerEditor::SaveEditedPointer()
{
    const QString name = txtPointerName.text;
    const QString target = txtInternetAddress.text;
    ListControl &list = c.lstFileList;
    const int row = list.ListIndex();

    if (CheckDuplicatePointerName(name, row)) {
        selectAll(txtPointerName);
        setFocus(txtPointerName.name);
        return;
    }
    if (target.trimmed().isEmpty()) {
        refuse(QStringLiteral("You Must Input A Filename And Path.") + fiveSpaces() + u'\r',
            QStringLiteral(" Missing Filename And Path"));
        setFocus(txtInternetAddress.name);
        return;
    }
    const QString before = list.rowText(row);
    list.setRow(row);
    list.setCol(0);
    list.setColList(name);
    list.setCol(1);
    list.setColList(target);
    if (name != OldPointerName || target != OldPointerTarget) {
        QStringList lines;
        lines.reserve(list.ListCount());
        for (int i = 0; i < list.ListCount(); ++i)
            lines << list.rowText(i);
        if (!writeFileList(lines)) {
            list.setRow(row);
            list.setList(before);
            return;
        }
        result_ = {EditorResult::Outcome::Saved, name};
    }
    if (chkCloseAfterSave.value)
        close();
}

bool PointerEditor::CheckDuplicatePointerName(const QString &name, int exceptRow)
{
    if (duplicateNameRow(c.lstFileList, name, NameField::FirstColumn, exceptRow) < 0)
        return false;
    c.ui.msgBox(EditorText::duplicateName(name), EditorText::duplicateTitle(name),
        MsgBox::OkOnly | MsgBox::Exclamation);
    return true;
}

} // namespace corvanta

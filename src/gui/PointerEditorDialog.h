#pragma once

#include "editor/PointerEditor.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvanta {

// The pointer editor on screen: shows a PointerEditor's state and hands it every click, key,
// text change and focus move. The editor decides; the dialog only follows.
class PointerEditorDialog : public QDialog
{
    Q_OBJECT

public:
    PointerEditorDialog(PointerEditor &editor, QWidget *parent = nullptr);
    ~PointerEditorDialog() override;

    // A control by its name ("txtPointerName", "cmdSave"...); nullptr when there is none.
    QWidget *control(const QString &name) const { return widgets_.value(name); }

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PointerEditor &editor_;
    QLabel *lblURL_ = nullptr;
    QLabel *lblName_ = nullptr;
    QLineEdit *txtInternetAddress_ = nullptr;
    QLineEdit *txtPointerName_ = nullptr;
    QPushButton *cmdSave_ = nullptr;
    QPushButton *cmdExit_ = nullptr;
    QPushButton *cmdBrowse_ = nullptr;
    QCheckBox *chkCloseAfterSave_ = nullptr;
    QRadioButton *optInsertName_ = nullptr;
    QRadioButton *optAppendName_ = nullptr;
    QRadioButton *optCancelAll_ = nullptr;
    QHash<QString, QWidget *> widgets_;
    bool finished_ = false;

    void editorChanged(PointerEditor::Change change);
    void applyAll();
    void applyText(QLineEdit *edit, const EditorTextBox &box);
    void applySelection(QLineEdit *edit, const EditorTextBox &box);
    void applyOptions();
    void applyFocus();
    void typed(QLineEdit *edit, EditorTextBox &box, const QString &text);
    void finish(int result);
};

} // namespace corvanta

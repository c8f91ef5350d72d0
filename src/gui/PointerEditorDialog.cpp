#include "gui/PointerEditorDialog.h"

#include "gui/KeyCodes.h"
#include "gui/Mnemonics.h"
#include "gui/Twips.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace corvanta {

namespace {

// Long enough for any path or address; the name modes set their own limit.
constexpr int NoLimit = 1 << 24;

// The layout is drawn for a line of text this many pixels high; a larger desktop font scales
// the whole of it so that every caption keeps room for its text.
constexpr double DesignedLineHeight = 16.0;

double fontScale(const QWidget *dialog)
{
    return std::max(1.0, QFontMetricsF(dialog->font()).height() / DesignedLineHeight);
}

QRect pixels(const TwipsRect &r, double scale)
{
    return QRect(toPixels(r.left * scale), toPixels(r.top * scale), toPixels(r.width * scale),
        toPixels(r.height * scale));
}

QIcon editorIcon(int image, const QStyle *style)
{
    switch (image) {
    case 10:
        return QIcon::fromTheme(QStringLiteral("document-properties"),
            style->standardIcon(QStyle::SP_FileDialogDetailedView));
    case 11:
        return QIcon::fromTheme(QStringLiteral("mail-message-new"),
            style->standardIcon(QStyle::SP_MessageBoxInformation));
    case 14:
        return QIcon::fromTheme(
            QStringLiteral("document-new"), style->standardIcon(QStyle::SP_FileIcon));
    case 15:
        return QIcon::fromTheme(
            QStringLiteral("folder-new"), style->standardIcon(QStyle::SP_FileDialogNewFolder));
    default:
        return QIcon::fromTheme(
            QStringLiteral("applications-internet"), style->standardIcon(QStyle::SP_DriveNetIcon));
    }
}

} // namespace

PointerEditorDialog::PointerEditorDialog(PointerEditor &editor, QWidget *parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("frmUtility"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    lblURL_ = new QLabel(this);
    txtInternetAddress_ = new QLineEdit(this);
    cmdBrowse_ = new QPushButton(this);
    lblName_ = new QLabel(this);
    txtPointerName_ = new QLineEdit(this);
    optInsertName_ = new QRadioButton(this);
    optAppendName_ = new QRadioButton(this);
    optCancelAll_ = new QRadioButton(this);
    chkCloseAfterSave_ = new QCheckBox(this);
    cmdSave_ = new QPushButton(this);
    cmdExit_ = new QPushButton(this);
    const std::pair<QWidget *, EditorControl *> pairs[] = {
        {lblURL_, &editor.lblURL},
        {txtInternetAddress_, &editor.txtInternetAddress},
        {cmdBrowse_, &editor.cmdBrowse},
        {lblName_, &editor.lblName},
        {txtPointerName_, &editor.txtPointerName},
        {optInsertName_, &editor.optInsertName},
        {optAppendName_, &editor.optAppendName},
        {optCancelAll_, &editor.optCancelAll},
        {chkCloseAfterSave_, &editor.chkCloseAfterSave},
        {cmdSave_, &editor.cmdSave},
        {cmdExit_, &editor.cmdExit},
    };
    for (const auto &[widget, control] : pairs) {
        widget->setObjectName(control->name);
        widgets_.insert(control->name, widget);
        widget->installEventFilter(this);
    }
    // Each text box is named by the label above it; a label with a buddy takes "&" for a key.
    lblURL_->setBuddy(txtInternetAddress_);
    lblName_->setBuddy(txtPointerName_);
    cmdBrowse_->setAccessibleName(QStringLiteral("Browse for the file"));
    // Enter is the editor's own: no button presses itself on it unless it has the focus.
    for (QPushButton *button : {cmdSave_, cmdExit_, cmdBrowse_}) {
        button->setAutoDefault(true);
        button->setDefault(false);
    }

    connect(txtInternetAddress_, &QLineEdit::textEdited, this, [this](const QString &text) {
        typed(txtInternetAddress_, editor_.txtInternetAddress, text);
    });
    connect(txtPointerName_, &QLineEdit::textEdited, this,
        [this](const QString &text) { typed(txtPointerName_, editor_.txtPointerName, text); });
    connect(cmdSave_, &QPushButton::clicked, this, [this] { editor_.cmdSave_Click(); });
    connect(cmdExit_, &QPushButton::clicked, this, [this] { editor_.cmdExit_Click(); });
    connect(cmdBrowse_, &QPushButton::clicked, this, [this] { editor_.cmdBrowse_Click(); });
    connect(chkCloseAfterSave_, &QCheckBox::clicked, this, [this] {
        editor_.chkCloseAfterSave_Click();
        applyOptions();
    });
    connect(
        optInsertName_, &QRadioButton::clicked, this, [this] { editor_.optInsertName_Click(); });
    connect(
        optAppendName_, &QRadioButton::clicked, this, [this] { editor_.optAppendName_Click(); });
    connect(optCancelAll_, &QRadioButton::clicked, this, [this] { editor_.optCancelAll_Click(); });

    editor_.onChanged = [this](PointerEditor::Change change) { editorChanged(change); };
    applyAll();
}

PointerEditorDialog::~PointerEditorDialog()
{
    editor_.onChanged = nullptr;
}

void PointerEditorDialog::editorChanged(PointerEditor::Change change)
{
    switch (change) {
    case PointerEditor::Change::Everything:
        applyAll();
        break;
    case PointerEditor::Change::Focus:
        applyFocus();
        break;
    case PointerEditor::Change::AddressSelected:
        applySelection(txtInternetAddress_, editor_.txtInternetAddress);
        break;
    case PointerEditor::Change::NameSelected:
        applySelection(txtPointerName_, editor_.txtPointerName);
        break;
    case PointerEditor::Change::Options:
        applyOptions();
        break;
    case PointerEditor::Change::Closed:
        finish(QDialog::Accepted);
        break;
    }
}

void PointerEditorDialog::applyAll()
{
    setWindowTitle(editor_.caption);
    setWindowIcon(editorIcon(editor_.icon, style()));
    const double scale = fontScale(this);
    setFixedSize(toPixels(editor_.width * scale), toPixels(editor_.height * scale));
    std::vector<EditorControl *> controls = editor_.controls();
    for (EditorControl *c : controls) {
        QWidget *widget = widgets_.value(c->name);
        widget->setGeometry(pixels(c->rect, scale));
        widget->setVisible(c->visible);
        widget->setEnabled(c->enabled);
        if (auto *label = qobject_cast<QLabel *>(widget))
            label->setText(literalText(c->caption));
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            button->setText(c->caption);
    }
    for (auto [edit, box] : {std::pair {txtInternetAddress_, &editor_.txtInternetAddress},
             std::pair {txtPointerName_, &editor_.txtPointerName}}) {
        edit->setMaxLength(box->maxLength > 0 ? box->maxLength : NoLimit);
        applyText(edit, *box);
        applySelection(edit, *box);
    }
    std::stable_sort(controls.begin(), controls.end(),
        [](const EditorControl *a, const EditorControl *b) { return a->tabIndex < b->tabIndex; });
    QWidget *previous = nullptr;
    for (EditorControl *c : controls) {
        QWidget *widget = widgets_.value(c->name);
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    applyOptions();
    applyFocus();
}

void PointerEditorDialog::applyText(QLineEdit *edit, const EditorTextBox &box)
{
    if (edit->text() != box.text)
        edit->setText(box.text);
}

void PointerEditorDialog::applySelection(QLineEdit *edit, const EditorTextBox &box)
{
    if (box.selLength > 0)
        edit->setSelection(box.selStart, box.selLength);
}

void PointerEditorDialog::applyOptions()
{
    chkCloseAfterSave_->setChecked(editor_.chkCloseAfterSave.value);
    for (auto [radio, option] : {std::pair {optInsertName_, &editor_.optInsertName},
             std::pair {optAppendName_, &editor_.optAppendName},
             std::pair {optCancelAll_, &editor_.optCancelAll}}) {
        if (option->value)
            radio->setChecked(true);
    }
}

void PointerEditorDialog::applyFocus()
{
    QWidget *widget = widgets_.value(editor_.focus());
    if (widget && !widget->hasFocus())
        widget->setFocus(Qt::OtherFocusReason);
}

void PointerEditorDialog::typed(QLineEdit *edit, EditorTextBox &box, const QString &text)
{
    editor_.setText(box, text);
    if (box.text != text) {
        const int cursor = std::min(edit->cursorPosition(), int(box.text.size()));
        edit->setText(box.text);
        edit->setCursorPosition(cursor);
    }
}

bool PointerEditorDialog::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || !widgets_.contains(widget->objectName()) || editor_.closed())
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        // Another window coming and going (a message box) moves no focus within this one.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Told once the widget has taken the focus: the editor may answer with a message box
        // and move the focus elsewhere, which must not happen halfway through Qt's own move.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            QTimer::singleShot(0, widget, [this, widget] {
                if (widget->hasFocus() && !editor_.closed())
                    editor_.focusMovedTo(widget->objectName());
            });
        }
    } else if (event->type() == QEvent::KeyPress
        && (widget == txtInternetAddress_ || widget == txtPointerName_)) {
        auto *key = static_cast<QKeyEvent *>(event);
        int code = keyCodeFromQt(key);
        if (code != 0) {
            const int shift = shiftFromQt(key->modifiers());
            if (widget == txtInternetAddress_)
                editor_.txtInternetAddress_KeyDown(code, shift);
            else
                editor_.txtPointerName_KeyDown(code, shift);
            if (code == 0)
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PointerEditorDialog::done(int result)
{
    // The close box and Escape close the editor the way it says; it tells us when it has.
    if (!editor_.closed())
        editor_.closeBox();
    finish(result);
}

void PointerEditorDialog::finish(int result)
{
    if (finished_)
        return;
    finished_ = true;
    QDialog::done(result);
}

} // namespace corvanta

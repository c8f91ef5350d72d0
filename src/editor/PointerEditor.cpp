#include "editor/PointerEditor.h"

#include "app/IniFile.h"
#include "app/Launcher.h"
#include "app/Settings.h"
#include "platform/DesktopEntries.h"
#include "platform/FileDialogs.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/NameRules.h"

#include <QFileInfo>

#include <algorithm>

namespace corvanta {

namespace {

const QString Utility = QStringLiteral("Utility");
const QString Option = QStringLiteral("Option");
const QString AddressBox = QStringLiteral("txtInternetAddress");
const QString NameBox = QStringLiteral("txtPointerName");

// Project and topic names stay short enough to be folder and file names.
constexpr int NameLimit = 112;
// The name-only modes drop the address row: the dialog and its lower controls move up by this.
constexpr float AddressRowHeight = 750;

// Offsets of the bottom band from the top of the name box.
constexpr float InsertOffset = 525;
constexpr float CancelAllOffset = 600;
constexpr float AppendOffset = 825;
constexpr float ButtonOffset = 840;
constexpr float CloseAfterSaveOffset = 900;

// The Browse button takes this much of the path box's width.
constexpr float BrowseWidth = 1200;

} // namespace

namespace EditorText {

QString exampleWebsiteAddress()
{
    return QStringLiteral("http://www.example.com");
}
QString exampleDomain()
{
    return QStringLiteral("www.example.com");
}
QString exampleEmailAddress()
{
    return QStringLiteral("someone@example.com");
}

QString invalidWebsite(const QString &trimmedAddress)
{
    return userText(trimmedAddress).toUpper() + QStringLiteral(" - Is Not A Valid Website Address.\r")
        + QStringLiteral(" Please Check The Spelling And Format, IE: ") + exampleDomain()
        + fiveSpaces() + u'\r';
}

QString invalidEmail(const QString &trimmedAddress)
{
    return userText(trimmedAddress).toUpper() + QStringLiteral(" - Is Not A Valid Email Address.\r")
        + QStringLiteral(" Please Check The Spelling And Format, IE: ") + exampleEmailAddress()
        + fiveSpaces() + u'\r';
}

QString duplicateName(const QString &workingName)
{
    return QStringLiteral("You Have Selected A Duplicate Filename.") + fiveSpaces()
        + QStringLiteral("\rFilename [") + userText(workingName).toUpper()
        + QStringLiteral("] Is Already On File.\r");
}

QString duplicateTitle(const QString &workingName)
{
    return QStringLiteral(" Duplicate Filename: ") + userText(workingName).toUpper();
}

} // namespace EditorText

PointerEditor::PointerEditor(const FeatureContext &context, const EditorRequest &request)
    : c(context), s(context.state), request_(request)
{
    design();
}

EditorMode PointerEditor::mode() const
{
    return request_.mode;
}

bool PointerEditor::nameMode() const
{
    const EditorMode m = mode();
    return m == EditorMode::NewProject || m == EditorMode::NewTopic || renameNameMode();
}

bool PointerEditor::renameNameMode() const
{
    return mode() == EditorMode::RenameProject || mode() == EditorMode::RenameTopic;
}

std::vector<EditorControl *> PointerEditor::controls()
{
    return {&txtInternetAddress, &txtPointerName, &cmdSave, &cmdExit, &chkCloseAfterSave, &lblURL,
        &lblName, &optInsertName, &optAppendName, &optCancelAll, &cmdBrowse};
}

EditorControl *PointerEditor::controlNamed(const QString &name)
{
    for (EditorControl *c : controls()) {
        if (c->name == name)
            return c;
    }
    return nullptr;
}

// The dialog as designed: the website layout.
void PointerEditor::design()
{
    caption = QStringLiteral(" Add Website Address");
    icon = 0;
    width = 8160;
    height = 2580;
    auto place = [](EditorControl &c, const char *name, const QString &text, TwipsRect rect,
                     int tab) {
        c.name = QString::fromLatin1(name);
        c.caption = text;
        c.rect = rect;
        c.visible = true;
        c.enabled = true;
        c.tabIndex = tab;
    };
    place(txtInternetAddress, "txtInternetAddress", QString(), {120, 390, 7920, 345}, 0);
    // Shown only where the path box holds a file's path; next to it in the tab order.
    place(cmdBrowse, "cmdBrowse", QStringLiteral("&Browse..."),
        {8040 - BrowseWidth, 375, BrowseWidth, 375}, 1);
    cmdBrowse.visible = false;
    place(txtPointerName, "txtPointerName", QString(), {120, 1140, 7920, 345}, 2);
    const float t = txtPointerName.rect.top;
    place(cmdSave, "cmdSave", QStringLiteral("&Save"), {6240, t + ButtonOffset, 840, 405}, 3);
    place(cmdExit, "cmdExit", QStringLiteral("E&xit"), {7200, t + ButtonOffset, 840, 405}, 4);
    place(chkCloseAfterSave, "chkCloseAfterSave", QStringLiteral("Close After Save"),
        {3480, t + CloseAfterSaveOffset, 2640, 285}, 5);
    place(lblURL, "lblURL",
        QStringLiteral("Input or Paste Website Address (") + EditorText::exampleWebsiteAddress()
            + u')',
        {120, 120, 7920, 255}, 6);
    place(lblName, "lblName", QStringLiteral("Input Name for Website Address (256 Characters Max)"),
        {120, 870, 7920, 255}, 7);
    place(optInsertName, "optInsertName", QStringLiteral("Insert Name at Selected Row"),
        {120, t + InsertOffset, 3240, 285}, 8);
    place(optAppendName, "optAppendName", QStringLiteral("Append Name to End of List"),
        {120, t + AppendOffset, 3240, 285}, 9);
    place(optCancelAll, "optCancelAll", QStringLiteral("Cancel All Selections"),
        {3480, t + CancelAllOffset, 2640, 285}, 10);
    optCancelAll.enabled = false;
    for (EditorTextBox *box : {&txtInternetAddress, &txtPointerName}) {
        box->text.clear();
        box->maxLength = 0;
        box->selStart = box->selLength = 0;
    }
    for (EditorChoice *choice : {&chkCloseAfterSave, &optInsertName, &optAppendName, &optCancelAll})
        choice->value = false;
}

void PointerEditor::setTabIndex(EditorControl &control, int index)
{
    // As a form does it: the controls in between shift to make room.
    const int old = control.tabIndex;
    for (EditorControl *c : controls()) {
        if (c == &control)
            continue;
        if (index < old && c->tabIndex >= index && c->tabIndex < old)
            ++c->tabIndex;
        else if (index > old && c->tabIndex > old && c->tabIndex <= index)
            --c->tabIndex;
    }
    control.tabIndex = index;
}

void PointerEditor::chooseOption(EditorChoice &option)
{
    for (EditorChoice *o : {&optInsertName, &optAppendName, &optCancelAll})
        o->value = o == &option;
}

// --- opening ---

void PointerEditor::Form_Load()
{
    design();
    closed_ = false;
    focus_.clear();
    row_ = c.lstFileList.ListIndex();
    chkCloseAfterSave.value =
        ReadIniString(c.store, s.IniFile, Utility, QStringLiteral("CloseAfterSave"), QString()) != u"False";
    chooseOption(
        ReadIniString(c.store, s.IniFile, Option, QStringLiteral("InsertName"), QString()) == u"True"
            ? optInsertName
            : optAppendName);
    const EditorMode m = mode();
    if (m == EditorMode::Email) {
        caption = QStringLiteral(" Add Email Address");
        icon = 11;
        lblURL.caption = QStringLiteral("Input or Paste Email Address (")
            + EditorText::exampleEmailAddress() + u')';
        lblName.caption = QStringLiteral("Input Name For Email Address (256 Characters Max)");
    } else if (m == EditorMode::AddFile) {
        caption = QStringLiteral(" Add File To File List");
        icon = 14;
        lblURL.caption = QStringLiteral("Path And File Name");
        lblName.caption = QStringLiteral("Input Name To Be Listed In File List");
        txtInternetAddress.text = request_.addFilePath;
        txtPointerName.text.clear();
        setTabIndex(txtPointerName, 0);
        optCancelAll.enabled = request_.addSelections > 1;
        if (request_.insertRow >= 0)
            row_ = request_.insertRow;
        showBrowse();
    } else if (m == EditorMode::EditFile) {
        caption = QStringLiteral(" Edit File Data");
        icon = 10;
        lblURL.caption = QStringLiteral("Edit File Path Or Filename");
        lblName.caption = QStringLiteral("Edit Pointer Name");
        fillFromFileList();
        selectAll(txtInternetAddress);
        if (isFileTarget(trimSpaces(OldPointerTarget)))
            showBrowse();
    } else if (m == EditorMode::RenameFile) {
        caption = QStringLiteral(" Rename File Pointer");
        icon = 14;
        lblURL.caption = QStringLiteral("Selected Path And Filename");
        lblName.caption = QStringLiteral("Rename File Pointer");
        fillFromFileList();
        setTabIndex(txtPointerName, 0);
        optCancelAll.enabled = c.lstFileList.SelCount() >= 2;
    } else if (m == EditorMode::NewProject || m == EditorMode::NewTopic) {
        const bool project = m == EditorMode::NewProject;
        caption = project ? QStringLiteral(" Add New Project") : QStringLiteral(" Add New Topic");
        icon = 15;
        lblName.caption = project ? QStringLiteral("Input Project Name - 112 Characters Maximum")
                                  : QStringLiteral("Input Topic Name - 112 Characters Maximum");
        row_ = (project ? c.lstProjectList : c.lstTopicList).ListIndex();
        SetUpNewNameMode();
    } else if (renameNameMode()) {
        const bool project = m == EditorMode::RenameProject;
        caption = project ? QStringLiteral(" Rename Project") : QStringLiteral(" Rename Topic");
        icon = 15;
        lblURL.caption =
            project ? QStringLiteral("Current Project Name") : QStringLiteral("Current Topic Name");
        lblName.caption = project ? QStringLiteral("Rename Project - 112 Characters Maximum")
                                  : QStringLiteral("Rename Topic - 112 Characters Maximum");
        ListControl &list = project ? c.lstProjectList : c.lstTopicList;
        row_ = list.ListIndex();
        fillFromNameList(list);
        SetUpRenameMode();
    }
    giveFirstFocus();
    changed(Change::Everything);
}

void PointerEditor::fillFromFileList()
{
    const ListControl &list = c.lstFileList;
    OldPointerName = list.columnText(row_, 0);
    OldPointerTarget = list.columnText(row_, 1);
    txtPointerName.text = OldPointerName;
    txtInternetAddress.text = OldPointerTarget;
    selectAll(txtPointerName);
}

void PointerEditor::fillFromNameList(ListControl &list)
{
    const QString name = list.columnText(row_, 0);
    txtPointerName.text = name;
    txtInternetAddress.text = name;
    selectAll(txtPointerName);
}

void PointerEditor::showBrowse()
{
    cmdBrowse.visible = true;
    txtInternetAddress.rect.width -= BrowseWidth + 120;
}

void PointerEditor::SetUpNewNameMode()
{
    height -= AddressRowHeight;
    lblURL.visible = false;
    txtInternetAddress.visible = false;
    chkCloseAfterSave.enabled = false;
    lblName.rect.top = lblURL.rect.top;
    txtPointerName.rect.top = txtInternetAddress.rect.top;
    txtPointerName.maxLength = NameLimit;
    const float t = txtPointerName.rect.top;
    optInsertName.rect.top = t + InsertOffset;
    optCancelAll.rect.top = t + CancelAllOffset;
    optAppendName.rect.top = t + AppendOffset;
    cmdSave.rect.top = t + ButtonOffset;
    cmdExit.rect.top = t + ButtonOffset;
    chkCloseAfterSave.rect.top = t + CloseAfterSaveOffset;
    optCancelAll.enabled = c.lstProjectList.SelCount() >= 2;
}

void PointerEditor::SetUpRenameMode()
{
    optAppendName.enabled = false;
    chkCloseAfterSave.enabled = false;
    txtInternetAddress.enabled = false;
    txtPointerName.maxLength = NameLimit;
    setTabIndex(txtPointerName, 0);
    OldPointerName = txtPointerName.text;
}

void PointerEditor::giveFirstFocus()
{
    if (mode() == EditorMode::EditFile) {
        setFocus(AddressBox);
        return;
    }
    EditorControl *first = nullptr;
    for (EditorControl *c : controls()) {
        if (c == &lblURL || c == &lblName || !c->visible || !c->enabled)
            continue;
        if (!first || c->tabIndex < first->tabIndex)
            first = c;
    }
    if (first)
        setFocus(first->name);
}

// --- focus ---

void PointerEditor::setFocus(const QString &control)
{
    const EditorControl *c = controlNamed(control);
    if (!c || !c->visible || !c->enabled || c == &lblURL || c == &lblName)
        return;
    if (focus_ == control) {
        changed(Change::Focus);
        return;
    }
    const QString old = focus_;
    focus_ = control;
    if (old == AddressBox)
        txtInternetAddress_LostFocus();
    else if (old == NameBox)
        txtPointerName_LostFocus();
    // A LostFocus handler may have moved the focus on already.
    if (focus_ == control && control == NameBox)
        txtPointerName_GotFocus();
    changed(Change::Focus);
}

void PointerEditor::focusMovedTo(const QString &control)
{
    if (!closed_)
        setFocus(control);
}

void PointerEditor::selectAll(EditorTextBox &box)
{
    box.selStart = 0;
    box.selLength = int(box.text.size());
    changed(&box == &txtInternetAddress ? Change::AddressSelected : Change::NameSelected);
}

void PointerEditor::txtInternetAddress_LostFocus()
{
    LastFocusedBox = AddressBox;
}

void PointerEditor::txtPointerName_LostFocus()
{
    LastFocusedBox = NameBox;
}

void PointerEditor::refuse(const QString &text, const QString &title)
{
    c.ui.msgBox(text, title, MsgBox::OkOnly | MsgBox::Exclamation);
}

bool PointerEditor::checkAddress(bool website)
{
    const QString address = txtInternetAddress.text.trimmed();
    if (website ? isValidWebsite(address) : isValidEmail(address))
        return true;
    if (website)
        refuse(EditorText::invalidWebsite(address), QStringLiteral(" Invalid Website Address"));
    else
        refuse(EditorText::invalidEmail(address), QStringLiteral(" Invalid Email Address"));
    selectAll(txtInternetAddress);
    setFocus(AddressBox);
    return false;
}

void PointerEditor::txtPointerName_GotFocus()
{
    const bool website = mode() == EditorMode::Website;
    if (!website && mode() != EditorMode::Email)
        return;
    if (txtInternetAddress.text.trimmed().isEmpty()) {
        if (website)
            refuse(QStringLiteral("You Must Input or Paste A Website Address.") + fiveSpaces(),
                QStringLiteral(" Website Address Missing"));
        else
            refuse(QStringLiteral("You Must Input or Paste An Email Address.") + fiveSpaces(),
                QStringLiteral(" Email Address Missing"));
        setFocus(AddressBox);
        return;
    }
    checkAddress(website);
}

// --- typing ---

void PointerEditor::setText(EditorTextBox &box, const QString &text)
{
    QString typed = text;
    // A pointer record is one line with one TAB between name and target: keep both out.
    if (!nameMode()) {
        for (QChar &c : typed) {
            if (c == u'\t' || c == u'\r' || c == u'\n')
                c = u' ';
        }
    }
    if (box.maxLength > 0)
        typed.truncate(box.maxLength);
    box.text = typed;
}

void PointerEditor::txtInternetAddress_KeyDown(int &keyCode, int)
{
    if (keyCode != Key::Return)
        return;
    keyCode = 0;
    setFocus(NameBox);
}

void PointerEditor::txtPointerName_KeyDown(int &keyCode, int)
{
    if (keyCode != Key::Return)
        return;
    keyCode = 0;
    cmdSave_Click();
}

// --- options ---

void PointerEditor::chkCloseAfterSave_Click()
{
    if (closed_ || !chkCloseAfterSave.enabled)
        return;
    chkCloseAfterSave.value = !chkCloseAfterSave.value;
    writeSetting(c.store, s, c.ui, Utility, QStringLiteral("CloseAfterSave"),
        chkCloseAfterSave.value ? QStringLiteral("True") : QStringLiteral("False"));
    changed(Change::Options);
}

void PointerEditor::optInsertName_Click()
{
    if (closed_ || !optInsertName.enabled)
        return;
    chooseOption(optInsertName);
    writeSetting(c.store, s, c.ui, Option, QStringLiteral("InsertName"), QStringLiteral("True"));
    changed(Change::Options);
    if (!LastFocusedBox.isEmpty())
        setFocus(LastFocusedBox);
}

void PointerEditor::optAppendName_Click()
{
    if (closed_ || !optAppendName.enabled)
        return;
    chooseOption(optAppendName);
    writeSetting(c.store, s, c.ui, Option, QStringLiteral("InsertName"), QStringLiteral("False"));
    changed(Change::Options);
    if (!LastFocusedBox.isEmpty())
        setFocus(LastFocusedBox);
}

void PointerEditor::optCancelAll_Click()
{
    if (closed_ || !optCancelAll.enabled)
        return;
    chooseOption(optCancelAll);
    changed(Change::Options);
    setFocus(QStringLiteral("cmdExit"));
}

// --- closing ---

void PointerEditor::cmdExit_Click()
{
    if (closed_)
        return;
    close();
}

void PointerEditor::cmdBrowse_Click()
{
    FileDialogs *dialogs = c.platform.fileDialogs;
    if (closed_ || !cmdBrowse.visible || !cmdBrowse.enabled || !dialogs)
        return;
    const QString path = trimSpaces(txtInternetAddress.text);
    OpenFileRequest request;
    request.title = QStringLiteral(" Browse For File");
    request.filters = {{QStringLiteral("All Files (*.*)"), QStringLiteral("*")}};
    request.initialFolder = nearestExistingFolder(path, s.ProgramFolder);
    if (const QString name = QFileInfo(path).fileName(); !name.isEmpty())
        request.fileName = request.initialFolder + u'/' + name;
    request.multiple = false;
    const QStringList chosen = dialogs->getOpenFileNames(request);
    if (chosen.size() != 1 || refuseUnstorableFile(c.ui, chosen.constFirst()))
        return; // a name the line cannot carry is never changed into another one
    setText(txtInternetAddress, chosen.constFirst());
    selectAll(txtInternetAddress);
    changed(Change::Everything);
}

void PointerEditor::closeBox()
{
    cmdExit_Click(); // closing without a save is the same by either way
}

void PointerEditor::close()
{
    if (closed_)
        return;
    Form_Unload();
    closed_ = true;
    changed(Change::Closed);
}

void PointerEditor::Form_Unload()
{
    if (optCancelAll.value)
        result_.outcome = EditorResult::Outcome::CancelAll;
    result_.insertName = optInsertName.value;
}

// --- address rules ---

bool PointerEditor::isValidWebsite(const QString &address)
{
    const QString a = address.trimmed();
    return a.contains(u'.') && !a.contains(u'@');
}

bool PointerEditor::isValidEmail(const QString &address)
{
    return address.trimmed().contains(u'@');
}

QString PointerEditor::websiteTarget(const QString &address)
{
    const QString a = address.trimmed();
    return Launcher::hasWebsiteScheme(a) ? a : QStringLiteral("http://") + a;
}

QString PointerEditor::emailTarget(const QString &address)
{
    const QString a = address.trimmed();
    return a.left(7).toLower() == u"mailto:" ? a : QStringLiteral("mailto:") + a;
}

} // namespace corvanta

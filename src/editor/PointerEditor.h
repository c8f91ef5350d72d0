#pragma once

#include "app/Editors.h"
#include "app/FeatureContext.h"
#include "app/MainLayout.h"
#include "app/SharedState.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace corvanta {

class ListControl;

// One control of the editor as the dialog shows it; positions are twips inside the dialog.
struct EditorControl
{
    QString name;
    QString caption;
    TwipsRect rect;
    bool visible = true;
    bool enabled = true;
    int tabIndex = 0;
};

struct EditorTextBox : EditorControl
{
    QString text;
    int maxLength = 0; // 0: no limit
    int selStart = 0; // the selection the program last made
    int selLength = 0;
};

// A check box or an option button.
struct EditorChoice : EditorControl
{
    bool value = false;
};

// The pointer editor `frmUtility`: one small modal dialog that adds website, e-mail and file
// pointers, edits and renames a pointer, and asks for project and topic names. It owns the
// dialog's state as plain data; the Qt dialog shows it and forwards every user event to the
// handler of the same name. How it ended is its result().
class PointerEditor
{
public:
    enum class Change { Everything, Focus, AddressSelected, NameSelected, Options, Closed };

    // request: the mode, and for an add loop the file's path and how many items it works
    // through (selected search results, chosen or dropped files).
    PointerEditor(const FeatureContext &context, const EditorRequest &request);

    QString caption;
    int icon = 0; // 1-based image of the main window's image list; 0 as designed
    float width = 0; // twips
    float height = 0;
    EditorControl lblURL, lblName, cmdSave, cmdExit;
    EditorControl cmdBrowse; // beside the path box of a file pointer's editor
    EditorTextBox txtInternetAddress, txtPointerName;
    EditorChoice chkCloseAfterSave, optInsertName, optAppendName, optCancelAll;

    // Every control, in the designed order.
    std::vector<EditorControl *> controls();

    // The editor state of the row or name being worked on.
    QString OldPointerName;
    QString OldPointerTarget;
    QString LastFocusedBox;

    EditorMode mode() const;
    // The row of its list the editor works on: the pointer edited, the name renamed, or where a
    // new one is inserted.
    int row() const { return row_; }
    QString focus() const { return focus_; } // name of the control with the focus
    bool closed() const { return closed_; }
    // Cancelled until a save hands a name back or writes a pointer; "Cancel All Selections"
    // chosen when the editor closes makes it CancelAll.
    EditorResult result() const { return result_; }
    std::function<void(Change)> onChanged;

    // --- what the user does, as the dialog reports it ---
    // Typing or pasting: the text is cut at the box's maximum length.
    void setText(EditorTextBox &box, const QString &text);
    // The user moved the focus (Tab, mouse): LostFocus and GotFocus follow.
    void focusMovedTo(const QString &control);
    // The window's close box (and Escape).
    void closeBox();

    // --- event handlers ---
    void Form_Load();
    void Form_Unload();
    void cmdSave_Click();
    void cmdExit_Click();
    // An open-file dialog in the path's folder, or the nearest one above it; the file chosen
    // goes into the path box, Cancel leaves it as it was.
    void cmdBrowse_Click();
    void chkCloseAfterSave_Click(); // the click toggles the box, then stores it
    void optInsertName_Click();
    void optAppendName_Click();
    void optCancelAll_Click();
    void txtInternetAddress_KeyDown(int &keyCode, int shift);
    void txtInternetAddress_LostFocus();
    void txtPointerName_GotFocus();
    void txtPointerName_KeyDown(int &keyCode, int shift);
    void txtPointerName_LostFocus();

    // --- address rules (on the trimmed address) ---
    static bool isValidWebsite(const QString &address);
    static bool isValidEmail(const QString &address);
    static QString websiteTarget(const QString &address); // with "http://" when it has no scheme
    static QString emailTarget(const QString &address); // with "mailto:" when it has none

private:
    FeatureContext c;
    SharedState &s;
    EditorRequest request_;
    int row_ = -1;
    QString focus_;
    bool closed_ = false;
    EditorResult result_;

    void design();
    void SetUpNewNameMode();
    void SetUpRenameMode();
    void showBrowse();
    void fillFromFileList();
    void fillFromNameList(ListControl &list);
    void setTabIndex(EditorControl &control, int index);
    EditorControl *controlNamed(const QString &name);
    void setFocus(const QString &control);
    void giveFirstFocus();
    void selectAll(EditorTextBox &box);
    void chooseOption(EditorChoice &option);
    void changed(Change c)
    {
        if (onChanged)
            onChanged(c);
    }
    bool nameMode() const;
    bool renameNameMode() const;
    void refuse(const QString &text, const QString &title);
    bool checkAddress(bool website);
    void close();

    // Saving (PointerEditorSave.cpp).
    void addSave();
    void ReturnEnteredName();
    void SaveEditedPointer();
    // True, after the duplicate-name box, when a File List row other than exceptRow has name.
    bool CheckDuplicatePointerName(const QString &name, int exceptRow);
    [[nodiscard]] bool writeFileList(const QStringList &lines);
};

// The desktop's side of the editor: shows it modally and returns when it has closed.
class PointerEditorDisplay
{
public:
    virtual ~PointerEditorDisplay() = default;
    virtual void showPointerEditor(PointerEditor &editor) = 0;
};

// The editor's message texts, kept in one place.
namespace EditorText {
QString exampleWebsiteAddress();
QString exampleDomain();
QString exampleEmailAddress();
QString invalidWebsite(const QString &trimmedAddress);
QString invalidEmail(const QString &trimmedAddress);
QString duplicateName(const QString &workingName);
QString duplicateTitle(const QString &workingName);
} // namespace EditorText

} // namespace corvanta

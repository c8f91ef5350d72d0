#pragma once

#include "app/FeatureContext.h"
#include "app/Launcher.h"

#include <QString>

namespace corvanta {

// Opening and printing the File List's pointers, the Open/Print mode, the offer to remove a
// pointer whose target is gone, Open With, and the commands that start the desktop's tools.
class Launching final : public PointerLaunches
{
public:
    explicit Launching(const FeatureContext &context);

    void optOpen_Click();
    void optPrint_Click();
    // The File List's double-click and Return (Chosen), Ctrl+O (Open); an empty list beeps.
    void launchSelected(LaunchVerb verb) override;
    int openWithCount() const override { return openWithCount_; }
    void mnuOpenSelectedFiles_Click();
    void mnuPrintSelectedFiles_Click();
    // Opens, or prints, the selected pointers' targets; a program is started either way.
    void LaunchSelectedFiles(bool print);
    // Offers to remove the pointer whose target the last walk did not find.
    void RemoveMissingFile();
    void OpenWithProgram();
    // The current pointer's folder in the file manager, with the file selected where it can.
    void OpenContainingFolder();
    // The selected pointers' targets on the clipboard, one a line.
    void CopyTarget();

    // A tool of the Tools or Edit menu; caption names it when no program is found.
    void startTool(Launcher::Tool tool, const QString &caption, const QString &file = QString());
    // Opens a list file of the data folder in the text editor.
    void editListFile(const QString &fileName);

private:
    FeatureContext c;
    SharedState &s;
    Launcher launcher_;
    int missingRow_ = -1;
    QString missingTarget_;
    int openWithCount_ = 0;

    void setMode(bool open);
    void refuseEmptyTarget(const QString &lineEnd);
    QString caption(const QString &itemName) const;
    void registerOperations();
};

} // namespace corvanta

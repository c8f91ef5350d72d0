#pragma once

#include "app/FeatureContext.h"
#include "app/HelpWindow.h"
#include "app/Launcher.h"

#include <QStringList>

namespace corvanta {

class AccessoryDisplay;

// The maker's addresses, kept here alone.
QString makerWebsite();
QString makerDownloadPage();
QString makerSupportAddress();

// The Help menu: the help topics and the user manual in the help window, the maker's website and
// the support e-mail. A help document is looked up in the data folder, then where the program is
// installed, then beside the executable (a build tree); one too large to show is refused with a
// message and the next place is used; a missing one is explained, offering the website.
class Help
{
public:
    // executableFolder: the folder the running program lies in ("" when unknown).
    Help(const FeatureContext &context, AccessoryDisplay &display, const QString &executableFolder);

    // The folders searched for the help documents, in order.
    static QStringList helpFolders(const QString &dataFolder, const QString &executableFolder);
    // The path of the help document name, or "" when none of the folders holds it. A document
    // larger than MaxDocumentBytes is passed over and added to tooLarge.
    QString findHelpFile(const QString &name, QStringList *tooLarge = nullptr) const;
    static constexpr qint64 MaxDocumentBytes = 5 * 1024 * 1024;

    void ShowHelpTopics();
    void ShowGettingStartedHelp();
    void OpenWebsite();
    void EmailTechSupport();

    static QString helpMissingTitle();
    static QString helpMissingText();
    static QString gettingStartedMissingTitle();
    static QString gettingStartedMissingText();
    static QString tooLargeTitle();
    static QString tooLargeText(const QString &path);

    HelpWindow &window() { return window_; }

private:
    FeatureContext c;
    AccessoryDisplay &display_;
    QString executableFolder_;
    Launcher launcher_;
    HelpWindow window_;

    // Shows the document name at anchor, or asks whether to open the website when it is missing.
    void showDocument(const QString &name, const QString &anchor);
    void openLink(const QUrl &url);
};

} // namespace corvanta

#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace corvanta {

class Shell;
class Ui;
struct SharedState;

// How a launch ended, and the failure's message: the text shown for Failed, the unshown one for
// NotFound, "" otherwise.
struct LaunchResult
{
    enum class Outcome {
        Started,  // handed to the desktop (or to no shell at all, in a test without one)
        Refused,  // an empty target: a beep
        NotFound, // the file or folder is missing: nothing shown, the caller says it
        OpenWith, // no application for its type: the Open With chooser was offered
        Failed,   // " Launch Error" shown
    };
    Outcome outcome = Outcome::Started;
    QString status;
};

// Starts everything the program opens: targets through the desktop's shell, turning its result
// into a message, and the desktop's tools from lists of candidate programs.
class Launcher
{
public:
    enum class Tool {
        Calculator,
        TextEditor,
        WordProcessor,
        Settings,
        SystemMonitor,
        FileManager,
        Terminal
    };

    Launcher(Ui &ui, Shell *shell, SharedState &state);

    // The text after the last '/', or the whole text for an address (http:, mailto:) or a name
    // without a folder. A path ending in '/' gives "".
    static QString GetFileNamePart(const QString &path);
    // Whether a website address carries its scheme: "http://" or "https://" in any letter case.
    // Other addresses get "http://" in front, also one like "httpbin.org".
    static bool hasWebsiteScheme(const QString &address);
    // The message for a shell result; "" for success and for failures that show nothing.
    static QString launchMessage(int result);

    // Opens (or prints) target: a missing file or folder shows nothing and says NotFound; no
    // application for its type opens the Open With chooser; any other failure shows " Launch
    // Error". An empty target is refused with a beep.
    LaunchResult LaunchTarget(
        const QString &target, const QString &verb, const QString &parameters = QString());

    // Lets the user choose the program for target, then starts it with target.
    void openWith(const QString &target);

    // The command lines tried for a tool, in order; the default application's comes first for
    // the text editor and the file manager.
    QStringList candidates(Tool tool) const;
    // The candidates named in the " Program Not Found" box (the fixed list of the tool).
    static QStringList lookedFor(Tool tool);
    // Starts the first candidate whose program is found, with file (if any) as its argument.
    // None found: the " Program Not Found" box naming caption and every candidate.
    [[nodiscard]] bool startTool(Tool tool, const QString &caption, const QString &file = QString());

    static QString programNotFoundTitle();
    static QString programNotFoundText(const QString &caption, const QStringList &lookedFor);

private:
    Ui &ui_;
    Shell *shell_;
    SharedState &state_;
};

} // namespace corvanta

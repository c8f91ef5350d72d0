#pragma once

#include <QString>
#include <QStringList>

namespace corvanta {

// Results of Shell::execute, at the classic numeric values: above 32 is success.
namespace ShellResult {
enum : int {
    Failed = 0, // started nothing; failureReason() says why when the system told us
    FileNotFound = 2,
    PathNotFound = 3,
    AccessDenied = 5,
    InvalidExecutable = 11,
    NoAssociation = 31, // no application opens this type
    Success = 42,
};
constexpr bool succeeded(int result)
{
    return result > 32;
}
} // namespace ShellResult

// What the desktop does with a target: open it in its program, print it, start a program.
// Nothing here waits for a started program.
class Shell
{
public:
    enum WindowStyle : int { NormalFocus = 1, MaximisedFocus = 3 };

    virtual ~Shell() = default;

    // Opens (verb "open", "Open" or anything but "print") or prints the file in folder; folder
    // keeps its trailing separator and is empty for an address (http:, https:, mailto:) or a
    // name relative to the current folder. Returns a ShellResult value.
    [[nodiscard]] virtual int execute(const QString &verb, const QString &file, const QString &parameters,
        const QString &folder) = 0;
    // The system's reason for the last failed execute, or "" when it gave none.
    virtual QString failureReason() const = 0;

    // Starts program (a name looked up in PATH, or a path) with arguments in folder ("" keeps
    // the current folder). False when it could not be started.
    [[nodiscard]] virtual bool startProcess(const QString &program, const QStringList &arguments, int windowStyle,
        const QString &folder = QString()) = 0;
    // The full path of a program found in PATH, or "".
    virtual QString findProgram(const QString &name) const = 0;
    // The command line (desktop-entry Exec syntax, with %f/%u field codes) of the default
    // application for a MIME type, or "" when none is installed.
    virtual QString defaultCommand(const QString &mimeType) const = 0;
    // Shows path selected in the desktop's file manager (the FileManager1 D-Bus service). False
    // when no file manager offers that; the caller then opens the folder itself.
    [[nodiscard]] virtual bool showInFolder(const QString &path) = 0;
};

} // namespace corvanta

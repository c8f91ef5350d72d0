#pragma once

#include "platform/Shell.h"

class QFileInfo;

namespace corvanta {

// The Linux desktop's shell: programs start directly, documents and addresses go to the default
// application of their MIME type (desktop entries and mimeapps.list, looked up in-process so that
// "no application" can be told apart), and "print" hands the file to lp.
class XdgShell : public Shell
{
public:
    [[nodiscard]] int execute(const QString &verb, const QString &file, const QString &parameters,
        const QString &folder) override;
    QString failureReason() const override { return reason_; }
    [[nodiscard]] bool startProcess(const QString &program, const QStringList &arguments, int windowStyle,
        const QString &folder = QString()) override;
    QString findProgram(const QString &name) const override;
    QString defaultCommand(const QString &mimeType) const override;
    [[nodiscard]] bool showInFolder(const QString &path) override;
    // The dbus-send arguments that ask the file manager to show path selected.
    static QStringList showItemsArguments(const QString &path);

    // An executable file the system can run itself: an ELF binary or a script with "#!".
    // A document marked executable (every file on some mounted drives is) is not one.
    static bool isProgram(const QFileInfo &file);

    // How long lp may take to accept a job before it counts as failed.
    int printTimeoutMs = 30000;

private:
    QString reason_;

    int openInDefaultApplication(
        const QString &target, const QString &mimeType, const QString &folder);
    int startProgram(const QFileInfo &file, const QString &parameters);
    int print(const QString &path);
};

} // namespace corvanta

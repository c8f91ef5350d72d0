#pragma once

#include "platform/Shell.h"

#include <QString>
#include <QStringList>

#include <map>
#include <set>
#include <vector>

namespace corvanta::test {

// Records what the program asks of the desktop and answers from a script.
class FakeShell : public Shell
{
public:
    struct Call
    {
        QString verb, file, parameters, folder;
        QString target() const { return folder + file; }
    };
    struct Start
    {
        QString program;
        QStringList arguments;
        int style = 0;
        QString folder;
    };

    std::vector<Call> calls;
    std::map<QString, int> results; // by full target; others get defaultResult
    int defaultResult = ShellResult::Success;
    QString reason; // failureReason() after a failed call
    std::vector<Start> starts;
    std::set<QString> installed; // programs findProgram finds, as /usr/bin/NAME
    std::set<QString> refusing; // installed programs that fail to start
    std::map<QString, QString> defaults; // default command lines by MIME type

    int execute(const QString &verb, const QString &file, const QString &parameters,
        const QString &folder) override
    {
        calls.push_back({verb, file, parameters, folder});
        const auto it = results.find(folder + file);
        lastFailed_ = !ShellResult::succeeded(it == results.end() ? defaultResult : it->second);
        return it == results.end() ? defaultResult : it->second;
    }
    QString failureReason() const override { return lastFailed_ ? reason : QString(); }
    bool startProcess(const QString &program, const QStringList &arguments, int windowStyle,
        const QString &folder) override
    {
        starts.push_back({program, arguments, windowStyle, folder});
        return refusing.count(program) == 0;
    }
    QString findProgram(const QString &name) const override
    {
        return installed.count(name) ? QStringLiteral("/usr/bin/") + name : QString();
    }
    QString defaultCommand(const QString &mimeType) const override
    {
        const auto it = defaults.find(mimeType);
        return it == defaults.end() ? QString() : it->second;
    }

    std::vector<QString> shownInFolder; // paths the file manager was asked to show
    bool fileManagerShowsItems = true;
    bool showInFolder(const QString &path) override
    {
        shownInFolder.push_back(path);
        return fileManagerShowsItems;
    }

    QStringList targets() const
    {
        QStringList out;
        for (const Call &c : calls)
            out << c.target();
        return out;
    }

private:
    bool lastFailed_ = false;
};

} // namespace corvanta::test

#pragma once

#include "support/TempFolder.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace corvanta::test {

// A desktop of our own: HOME and the XDG folders in a temporary folder, the system's MIME
// database and nothing else of the system's, and a bin folder first in PATH.
class XdgEnvironment : public ::testing::Test
{
protected:
    TempFolder home;
    std::vector<std::pair<const char *, std::optional<QByteArray>>> env; // the values replaced

    void SetUp() override
    {
        // The shared data folder holds only a copy of the MIME database, so no installed
        // application answers for a type; it stays the same for every test of the run.
        static QTemporaryDir shared;
        static const bool copied = copyMimeDatabase(shared.path() + u"/share/mime"_s);
        ASSERT_TRUE(copied) << "the shared MIME database (shared-mime-info) is missing";
        set("HOME", home.path());
        set("XDG_DATA_HOME", home.file(u"data"_s));
        set("XDG_CONFIG_HOME", home.file(u"config"_s));
        set("XDG_CONFIG_DIRS", home.file(u"etc"_s));
        set("XDG_DATA_DIRS", shared.path() + u"/share"_s);
        set("XDG_CURRENT_DESKTOP", u"Test"_s);
        set("PATH", home.file(u"bin"_s) + u':' + qEnvironmentVariable("PATH"));
        QDir().mkpath(home.file(u"bin"_s));
    }
    void TearDown() override
    {
        for (auto it = env.rbegin(); it != env.rend(); ++it)
            it->second ? void(qputenv(it->first, *it->second)) : void(qunsetenv(it->first));
    }

    // The compiled files of the system's MIME database (cache, type list, aliases, ...).
    static bool copyMimeDatabase(const QString &to)
    {
        const QDir from(u"/usr/share/mime"_s);
        if (!QDir().mkpath(to) || !from.exists(u"mime.cache"_s))
            return false;
        for (const QString &name : from.entryList(QDir::Files))
            QFile::copy(from.filePath(name), to + u'/' + name);
        return true;
    }

    void set(const char *name, const QString &value)
    {
        env.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name))
                                                               : std::nullopt);
        qputenv(name, value.toLocal8Bit());
    }

    // An executable file at relative, holding text.
    QString script(const QString &relative, const QByteArray &text)
    {
        home.write(relative, text);
        QFile::setPermissions(home.file(relative),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                | QFile::ExeGroup);
        return home.file(relative);
    }
    // A program that writes its working folder and then each argument, one a line, to record.
    QString recorder(const QString &relative, const QString &record)
    {
        return script(relative,
            "#!/bin/sh\nPATH=/usr/bin:/bin\n{ pwd; for a in \"$@\"; do echo \"$a\"; done; } > \""
                + record.toLocal8Bit() + ".part\" && mv \"" + record.toLocal8Bit() + ".part\" \""
                + record.toLocal8Bit() + "\"\n");
    }
    void desktopEntry(const QString &relative, const QByteArray &text)
    {
        home.write(u"data/applications/"_s + relative, text);
    }

    // The lines a started program recorded; waits for it, as it runs on its own.
    static QStringList waitForRecord(const QString &path, int ms = 10000)
    {
        QDeadlineTimer deadline(ms);
        while (!QFile::exists(path) && !deadline.hasExpired())
            QThread::msleep(20);
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
};

} // namespace corvanta::test

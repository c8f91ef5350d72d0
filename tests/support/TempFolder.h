#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace corvanta::test {

// A file's bytes, or "<missing>" when it cannot be read (so a test tells the two apart).
inline QByteArray bytesOf(const QString &path)
{
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
}

// Writes bytes over path, as another program would; a test fails when it cannot.
inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size())
        << path.toStdString();
}

// A data folder for one test, with helpers to lay down and read back raw bytes. It lies three
// levels down a temporary tree of its own, so that a name climbing out of it ("../../x") still
// lands inside the tree even when the code under test is faulty, where stray() finds it.
class TempFolder {
public:
    QTemporaryDir dir;

    TempFolder() { QDir(dir.path()).mkpath(QStringLiteral("outer/inner/data")); }

    QString path() const { return dir.path() + QStringLiteral("/outer/inner/data"); }
    QString file(const QString &relative) const { return path() + u'/' + relative; }

    void write(const QString &relative, const QByteArray &bytes) const
    {
        const QString full = file(relative);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile f(full);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }

    QByteArray read(const QString &relative) const
    {
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    bool exists(const QString &relative) const { return QFileInfo::exists(file(relative)); }

    // Everything in the tree outside the data folder, relative to the tree's top.
    QStringList stray() const
    {
        QStringList found;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        const QString inside = path() + u'/';
        while (it.hasNext()) {
            const QString entry = it.next();
            // The data folder's own ancestors are the tree itself.
            if (!inside.startsWith(entry + u'/') && !entry.startsWith(inside))
                found << entry.mid(dir.path().size() + 1);
        }
        return found;
    }
};

} // namespace corvanta::test

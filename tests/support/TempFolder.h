#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace corvanta::test {

// A data folder for one test, with helpers to lay down and read back raw bytes.
class TempFolder {
public:
    QTemporaryDir dir;

    QString path() const { return dir.path(); }
    QString file(const QString &relative) const { return dir.path() + u'/' + relative; }

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
};

} // namespace corvanta::test

#pragma once

#include <QByteArray>
#include <QString>

namespace corvanta {

// What reading one of the program's files gave.
enum class [[nodiscard]] ReadOutcome {
    Read,      // the bytes are the file's whole content
    Missing,   // nothing at the path (a dangling link counts as nothing)
    Unreadable // something is there but could not be read; reason says why
};

// Reads a regular file (or what a symbolic link leads to, when that is one) whole. Anything else
// at the path, a FIFO, a device, a socket or a folder, is unreadable: opening it could block the
// program for good or never end, so it is opened without blocking and checked before a read.
ReadOutcome readRegularFile(const QString &path, QByteArray &bytes, QString *reason = nullptr);

// The system's description of an error number.
QString systemReason(int error);

} // namespace corvanta

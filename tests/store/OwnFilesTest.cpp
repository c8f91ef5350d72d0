#include "store/FileFingerprint.h"
#include "store/FileOps.h"
#include "store/ListControl.h"
#include "store/ListFiles.h"
#include "store/OwnFiles.h"
#include "support/FileSystemFaults.h"
#include "support/TempFolder.h"

#include <QDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace corvanta;
using namespace Qt::StringLiterals;

namespace {

using test::TempFolder;

// Something at path that is not a regular file; false when this system cannot make it.
bool makeSpecial(const QString &kind, const QString &path)
{
    const QByteArray p = QFile::encodeName(path);
    if (kind == u"fifo")
        return ::mkfifo(p.constData(), 0666) == 0;
    if (kind == u"folder")
        return QDir().mkdir(path);
    if (kind == u"dangling link")
        return QFile::link(path + u".gone"_s, path); // a sync client's placeholder
    return QFile::link(u"/dev/zero"_s, path); // a link to a device
}

// A FIFO, a folder or a device is never opened for a read that could block or never end. A link
// that leads nowhere is a list that cannot be read, not a missing one.
TEST(OwnFiles, specialFiles_readAsUnreadableWithoutBlocking_andAreNeverReplaced)
{
    Store store;
    for (const QString &kind : {u"fifo"_s, u"folder"_s, u"device link"_s, u"dangling link"_s}) {
        SCOPED_TRACE(kind.toStdString());
        TempFolder t;
        const QString path = t.file(u"T.Files"_s);
        ASSERT_TRUE(makeSpecial(kind, path));
        Store neverRead; // refused with no mark too
        EXPECT_FALSE(saveLines(neverRead, path, {u"A"_s}).ok);
        ListControl list(2, true);
        EXPECT_EQ(readPointerList(store, path, list), 0);
        EXPECT_TRUE(readLines(store, path).isEmpty());
        QStringList lines;
        QString reason;
        EXPECT_FALSE(readLinesForRewrite(store, path, lines, &reason));
        EXPECT_EQ(reason, u"The file could not be read, so it is not replaced."_s);
        EXPECT_TRUE(store.isMarkedUnreadable(path));

        list.addRow(u"a\tb"_s);
        const SaveResult saved = writePointerList(store, path, list);
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(saved.reason, unreadableFileReason());
        EXPECT_FALSE(QFileInfo(path).isFile() && !QFileInfo(path).isSymLink()) << "replaced";
    }
}

// Mode 0200: unreplaceable for the run (its store), even once it could be read again.
TEST(OwnFiles, unreadableFile_isMarkedForTheRun_followsRenameAndGoesWithDelete)
{
    Store store;
    TempFolder t;
    t.write(u"Projects/P/T.Files"_s, "Kept\t/k\r\n");
    const QString path = t.file(u"Projects/P/T.Files"_s);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::WriteOwner));
    {
        const test::WithoutRootOverride asUser;
        ListControl list(2, true);
        EXPECT_EQ(readPointerListTrimmed(store, path, list), 0);
    }
    ASSERT_TRUE(store.isMarkedUnreadable(path)) << "root without the override still read it";
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(saveLines(store, path, {}).reason, u"The file could not be read, so it is not replaced."_s);
    EXPECT_FALSE(appendName(store, path, u"x"_s).ok);
    EXPECT_EQ(t.read(u"Projects/P/T.Files"_s), QByteArray("Kept\t/k\r\n"));
    Store nextRun; // the marks are the store's: another run's store knows none of them
    EXPECT_FALSE(nextRun.isMarkedUnreadable(path));

    ASSERT_TRUE(renamePath(store, t.file(u"Projects/P"_s), t.file(u"Projects/Q"_s)));
    EXPECT_FALSE(store.isMarkedUnreadable(path));
    EXPECT_FALSE(saveLines(store, t.file(u"Projects/Q/T.Files"_s), {}).ok);
    ASSERT_TRUE(removeFile(store, t.file(u"Projects/Q/T.Files"_s)));
    EXPECT_TRUE(saveLines(store, t.file(u"Projects/Q/T.Files"_s), {u"new"_s}).ok);
}

// Not to a folder whose name starts with the data folder's either. A readable list is read first,
// as before any save, so the refusal is the link rule's own and not another guard's.
TEST(OwnFiles, linkedListFile_isWrittenOnlyToRegularFileInsideDataOrHomeFolder)
{
    Store store;
    TempFolder data, outside;
    store.setDataFolder(data.path());
    data.write(u"Real.List"_s, "old\r\n");
    outside.write(u"Other.List"_s, "theirs\r\n");
    const QString sibling = data.path() + u"-old/Old.List"_s;
    ASSERT_TRUE(QDir().mkpath(data.path() + u"-old"_s));
    test::writeBytes(sibling, "older\r\n");
    const QString outsideRule = u"outside the data folder and the home folder."_s;
    struct Case {
        QString target;
        bool readFirst;
        QString refusal; // empty: written
    } cases[] = {
        {data.file(u"Real.List"_s), true, {}},
        {u"Real.List"_s, true, {}}, // relative, beside the link
        {outside.file(u"Other.List"_s), true, outsideRule},
        {sibling, true, outsideRule},
        {u"/etc/passwd"_s, true, outsideRule},
        {u"/dev/null"_s, false, u"It is a link that does not lead to a regular file."_s},
        {data.file(u"Missing.List"_s), false, u"It is a link that does not lead to a regular file."_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        const QString link = data.file(u"Project.List"_s);
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(c.target, link));
        store.forget(link); // each case is a list never seen before
        if (c.readFirst) {
            ASSERT_FALSE(readLines(store, link).isEmpty());
        }
        const SaveResult saved = saveLines(store, link, {u"new"_s});
        EXPECT_EQ(saved.ok, c.refusal.isEmpty()) << saved.reason.toStdString();
        EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link itself stays";
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(data.read(u"Real.List"_s), QByteArray("new\r\n"));
            ASSERT_TRUE(saveLines(store, link, {u"old"_s}));
        } else {
            EXPECT_TRUE(saved.reason.endsWith(c.refusal)) << saved.reason.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(data.file(u"Missing.List"_s)));
    EXPECT_EQ(outside.read(u"Other.List"_s), QByteArray("theirs\r\n"));
    EXPECT_EQ(test::bytesOf(sibling), QByteArray("older\r\n"));

    // A link into the home folder leads to the user's own file: written.
    const QString link = data.file(u"Project.List"_s);
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(outside.file(u"Other.List"_s), link));
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(outside.path()));
    readLines(store, link); // the program reads a list before it writes it (and the link now leads elsewhere)
    const bool written = saveLines(store, link, {u"mine"_s}).ok;
    qputenv("HOME", home);
    EXPECT_TRUE(written);
    EXPECT_EQ(outside.read(u"Other.List"_s), QByteArray("mine\r\n"));
}

// The file replaced is checked again once out of the list's place; a file not as read stays or
// goes back. With the system's exchange and without it.
TEST(OwnFiles, saveChecksTheFileItReplaced_andPutsItBackWhenNotAsRead)
{
    Store store;
    for (const bool exchange : {true, false})
    for (const bool asRead : {true, false}) {
        SCOPED_TRACE(std::string(exchange ? "exchange" : "no exchange") + (asRead ? ", as read" : ", changed"));
        store.useRenameExchange(exchange);
        TempFolder t;
        t.write(u"T.Files"_s, "old\r\n");
        const QString path = t.file(u"T.Files"_s);
        QByteArray replaced;
        QString lastChecked;
        const SaveResult saved = saveOwnFile(store, path, "new\r\n", [&](const QString &file) {
            lastChecked = file;
            replaced = test::bytesOf(file);
            return asRead;
        });
        EXPECT_EQ(replaced, QByteArray("old\r\n"));
        EXPECT_EQ(lastChecked != path, asRead);
        EXPECT_EQ(saved.ok, asRead);
        EXPECT_EQ(saved.changedOnDisk, !asRead);
        EXPECT_EQ(t.read(u"T.Files"_s), asRead ? QByteArray("new\r\n") : QByteArray("old\r\n"));
        EXPECT_EQ(QDir(t.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"T.Files"_s});
    }
    store.useRenameExchange(true);
}

// A save writes both back as the same text, never double-encoded.
TEST(OwnFiles, mixedEncodings_decodedLineByLine)
{
    Store store;
    TempFolder t;
    t.write(u"Project.List"_s, "Caf\xC3\xA9\r\nB\xE4r \x80\r\n\xEF\xBB\xBFPlain\nend\xE2\x82");
    ListControl list;
    readNameList(store, t.file(u"Project.List"_s), list);
    // A byte-order mark past the file's start (files joined together) is text like any other.
    const QStringList expected{u"Café"_s, u"Bär €"_s, u"\uFEFFPlain"_s, u"end\u00E2\u201A"_s};
    QStringList rows;
    for (int i = 0; i < list.ListCount(); ++i)
        rows << list.rowText(i);
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(readLines(store, t.file(u"Project.List"_s)), expected);
    EXPECT_EQ(decodeListText("\xEF\xBB\xBF" "a\xC3\xA9\r\nb\xE9\r"), u"a\u00E9\r\nb\u00E9\r"_s);
    ASSERT_TRUE(saveLines(store, t.file(u"Mark.List"_s), {u"\uFEFFx"_s}));
    EXPECT_EQ(readLines(store, t.file(u"Mark.List"_s)), QStringList{u"\uFEFFx"_s});
    ASSERT_TRUE(appendName(store, t.file(u"Project.List"_s), u"New"_s));
    EXPECT_EQ(t.read(u"Project.List"_s),
              QByteArray("Caf\xC3\xA9\r\nB\xC3\xA4r \xE2\x82\xAC\r\n\xEF\xBB\xBFPlain\r\nend\xC3\xA2\xE2\x80\x9A\r\nNew\r\n"));
}

} // namespace

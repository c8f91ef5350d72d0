#include "XdgEnvironment.h"

#include "platform/XdgShell.h"

#include <QDir>

namespace corvanta::test {
namespace {

class XdgShellTest : public XdgEnvironment
{
protected:
    XdgShell shell;
    QString record;

    // A text viewer of our own, the user's default for plain text and web pages.
    void SetUp() override
    {
        XdgEnvironment::SetUp();
        record = home.file(u"viewer.record"_s);
        const QString viewer = recorder(u"bin/test-viewer"_s, record);
        desktopEntry(u"test-viewer.desktop"_s, "[Desktop Entry]\nType=Application\nName=Test Viewer\nExec="
                + viewer.toLocal8Bit() + " %f\nMimeType=text/plain;x-scheme-handler/http;\n");
        home.write(u"config/mimeapps.list"_s, "[Default Applications]\ntext/plain=test-viewer.desktop\n");
        QDir().mkpath(home.file(u"docs"_s));
    }
};

// A document goes to its default application with its full path, an address whole; a document
// with the execute bit (as on some mounted drives) is opened, not run.
TEST_F(XdgShellTest, targets_reachTheDefaultApplication)
{
    home.write(u"docs/My Notes.txt"_s, "hello\n");
    script(u"docs/notes.txt"_s, "echo this must not run\n");
    EXPECT_FALSE(XdgShell::isProgram(QFileInfo(home.file(u"docs/notes.txt"_s))));
    const QString docs = home.file(u"docs/"_s), address = u"http://www.example.com/a?b=1"_s;
    const std::tuple<QString, QString, QString> cases[] = {
        {u"My Notes.txt"_s, docs, docs + u"My Notes.txt"_s},
        {u"notes.txt"_s, docs, docs + u"notes.txt"_s},
        {address, QString(), address},
    };
    for (const auto &[file, folder, handed] : cases) {
        QFile::remove(record);
        EXPECT_EQ(shell.execute(u"Open"_s, file, QString(), folder), ShellResult::Success);
        EXPECT_EQ(waitForRecord(record).value(1), handed);
    }
}

TEST_F(XdgShellTest, missingTargetsAndUnhandledTypes_giveTheirResultsAndStartNothing)
{
    home.write(u"docs/blob.unknownext"_s, QByteArray("\x00\x01\x02\x03", 4));
    const struct {
        QString verb, file, folder;
        int result;
    } cases[] = {
        {u"open"_s, u"gone.txt"_s, u"docs/"_s, ShellResult::FileNotFound},
        {u"print"_s, u"gone.txt"_s, u"no such folder/"_s, ShellResult::PathNotFound},
        {u"open"_s, QString(), u"no such folder/"_s, ShellResult::PathNotFound},
        {u"open"_s, u"blob.unknownext"_s, u"docs/"_s, ShellResult::NoAssociation},
        {u"open"_s, u"mailto:someone@example.com"_s, QString(), ShellResult::NoAssociation},
    };
    for (const auto &c : cases) {
        const QString folder = c.folder.isEmpty() ? QString() : home.file(c.folder);
        EXPECT_EQ(shell.execute(c.verb, c.file, QString(), folder), c.result) << c.file.toStdString();
    }
    EXPECT_FALSE(QFile::exists(record));
}

// Printing waits for lp, so its record is there at once; its failure gives lp's own reason, a
// missing lp says so, and a success clears the reason.
TEST_F(XdgShellTest, print_handsTheFileToLpAndGivesItsReason)
{
    const QString printed = home.file(u"lp.record"_s), docs = home.file(u"docs/"_s);
    recorder(u"bin/lp"_s, printed);
    home.write(u"docs/letter.txt"_s, "Dear\n");
    EXPECT_EQ(shell.execute(u"print"_s, u"letter.txt"_s, QString(), docs), ShellResult::Success);
    ASSERT_TRUE(QFile::exists(printed));
    EXPECT_EQ(waitForRecord(printed).value(1), home.file(u"docs/letter.txt"_s));
    EXPECT_FALSE(QFile::exists(record));

    script(u"bin/lp"_s, "#!/bin/sh\necho 'lp: Error - No default destination.' >&2\nexit 1\n");
    EXPECT_EQ(shell.execute(u"print"_s, u"letter.txt"_s, QString(), docs), ShellResult::Failed);
    EXPECT_EQ(shell.failureReason(), u"lp: Error - No default destination."_s);
    set("PATH", home.file(u"empty"_s));
    EXPECT_EQ(shell.execute(u"print"_s, u"letter.txt"_s, QString(), docs), ShellResult::Failed);
    EXPECT_TRUE(shell.failureReason().contains(u"lp"_s));
    EXPECT_EQ(shell.execute(u"open"_s, u"letter.txt"_s, QString(), docs), ShellResult::Success);
    EXPECT_TRUE(shell.failureReason().isEmpty());
    EXPECT_FALSE(waitForRecord(record).isEmpty());
}

// A script with the execute bit runs in its own folder whatever the verb; a started program is
// searched in PATH and runs in the folder asked for.
TEST_F(XdgShellTest, programs_runInTheirFolderAndMissingOnesAreReported)
{
    const QString ran = home.file(u"ran.record"_s), tool = home.file(u"tool.record"_s);
    recorder(u"tools/run.sh"_s, ran);
    EXPECT_EQ(
        shell.execute(u"print"_s, u"run.sh"_s, u"one \"two words\""_s, home.file(u"tools/"_s)),
        ShellResult::Success);
    EXPECT_EQ(waitForRecord(ran), (QStringList {home.file(u"tools"_s), u"one"_s, u"two words"_s}));
    recorder(u"bin/some-tool"_s, tool);
    EXPECT_TRUE(
        shell.startProcess(u"some-tool"_s, {u"-x"_s}, Shell::MaximisedFocus, home.file(u"docs"_s)));
    EXPECT_EQ(waitForRecord(tool), (QStringList {home.file(u"docs"_s), u"-x"_s}));
    EXPECT_FALSE(shell.startProcess(u"no-such-tool-anywhere"_s, {}, Shell::NormalFocus));
    EXPECT_EQ(shell.findProgram(u"some-tool"_s), home.file(u"bin/some-tool"_s));
}

TEST(XdgShellShowItems, askForOneFileUri_commasEncodedSoTheArrayIsNotSplit)
{
    EXPECT_EQ(XdgShell::showItemsArguments(u"/home/u/a, b/c d.txt"_s).mid(7),
        (QStringList {u"array:string:file:///home/u/a%2C%20b/c%20d.txt"_s, u"string:"_s}));
}

} // namespace
} // namespace corvanta::test

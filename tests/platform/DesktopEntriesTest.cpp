#include "XdgEnvironment.h"

#include "platform/DesktopEntries.h"

#include <QDir>

namespace corvanta::test {
namespace {

QStringList ids(const std::vector<DesktopEntry> &entries)
{
    QStringList out;
    for (const DesktopEntry &e : entries)
        out << e.id;
    return out;
}

TEST(DesktopEntryParse, readsTheDesktopEntryGroupOfApplicationsOnly)
{
    const auto entry = DesktopEntries::parse(u"# a comment\n"
                                             u"[Desktop Entry]\n"
                                             u"Type=Application\n"
                                             u"Name = Text  Editor\n"
                                             u"Exec=editor\\s--new %F\n"
                                             u"MimeType=text/plain;text/x-csrc;\n"
                                             u"NoDisplay=true\n"
                                             u"Terminal=false\n"
                                             u"[Desktop Action Window]\n"
                                             u"Exec=editor --window\n"
                                             u"Name=New Window\n"_s,
        u"editor.desktop"_s);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->id, u"editor.desktop"_s);
    EXPECT_EQ(entry->name, u"Text  Editor"_s);
    EXPECT_EQ(entry->exec, u"editor --new %F"_s);
    EXPECT_EQ(entry->mimeTypes, (QStringList {u"text/plain"_s, u"text/x-csrc"_s}));
    EXPECT_TRUE(entry->noDisplay);
    // Links and entries without Exec are no applications; a hidden entry still counts, to hide.
    EXPECT_FALSE(DesktopEntries::parse(u"[Desktop Entry]\nType=Link\nURL=http://example.com\n"_s));
    EXPECT_FALSE(DesktopEntries::parse(u"[Desktop Entry]\nType=Application\nName=Nothing\n"_s));
    EXPECT_FALSE(DesktopEntries::parse(u"Type=Application\nExec=x\n"_s));
    const auto hidden = DesktopEntries::parse(u"[Desktop Entry]\nHidden=true\n"_s);
    ASSERT_TRUE(hidden);
    EXPECT_TRUE(hidden->hidden);
}

TEST(DesktopEntryExec, splitsOnBlanksAndHonoursQuotes)
{
    EXPECT_EQ(DesktopEntries::splitCommand(
                  u"\"/opt/My App/run\"  --title \"say \\\"hi\\\" \\$HOME\" plain"_s),
        (QStringList {u"/opt/My App/run"_s, u"--title"_s, u"say \"hi\" $HOME"_s, u"plain"_s}));
    EXPECT_EQ(
        DesktopEntries::splitCommand(u"app \"\" x"_s), (QStringList {u"app"_s, QString(), u"x"_s}));
    const QString awkward = u"/tmp/a b/c$d\"e\\f`g"_s;
    EXPECT_EQ(DesktopEntries::splitCommand(DesktopEntries::quoteArgument(awkward)),
        QStringList {awkward});
    EXPECT_EQ(DesktopEntries::quoteArgument(u"/usr/bin/plain-name"_s), u"/usr/bin/plain-name"_s);
}

TEST(DesktopEntryExec, fieldCodesTakeTheTargetOrVanish)
{
    const QString t = u"/home/u/My File.txt"_s;
    EXPECT_EQ(DesktopEntries::expandCommand(u"viewer %U --x"_s, t),
        (QStringList {u"viewer"_s, t, u"--x"_s}));
    EXPECT_EQ(DesktopEntries::expandCommand(u"app %i %c %k %f"_s, t), (QStringList {u"app"_s, t}));
    EXPECT_EQ(DesktopEntries::expandCommand(u"app --file=%f 100%%"_s, t),
        (QStringList {u"app"_s, u"--file="_s + t, u"100%"_s}));
    // A program without a field code still gets the target; no target leaves the line bare.
    EXPECT_EQ(DesktopEntries::expandCommand(u"\"/opt/x y/bin\""_s, t),
        (QStringList {u"/opt/x y/bin"_s, t}));
    EXPECT_EQ(DesktopEntries::expandCommand(u"editor %F"_s, QString()), QStringList {u"editor"_s});
}

TEST(DesktopEntryAddress, schemesAreNotDriveLettersOrPaths)
{
    for (const auto &[address, scheme] : {std::pair(u"http://example.com"_s, u"http"_s),
             {u"HTTPS://example.com"_s, u"https"_s}, {u"mailto:a@example.com"_s, u"mailto"_s},
             {u"C:\\Docs\\Letter.doc"_s, QString()}, {u"/home/u/a:b.txt"_s, QString()}, {u"notes.txt"_s, QString()}})
        EXPECT_EQ(addressScheme(address), scheme) << address.toStdString();
}

class DesktopEntriesTest : public XdgEnvironment
{
protected:
    void SetUp() override
    {
        XdgEnvironment::SetUp();
        script(u"bin/some-app"_s, "#!/bin/sh\n");
        set("XDG_DATA_DIRS", home.file(u"system"_s) + u':' + qEnvironmentVariable("XDG_DATA_DIRS"));
    }
    void app(const QString &relative, const QString &name, const QString &types,
        const QString &extra = {})
    {
        home.write(relative, (u"[Desktop Entry]\nType=Application\nName="_s + name
                + u"\nExec=some-app %f\nMimeType="_s + types + u'\n' + extra).toUtf8());
    }
};

// Each row lays down its files, "name types" an application for them (a line more after '|'),
// "name =text" a file as written, a bare name in data/applications, and asks for one type.
TEST_F(DesktopEntriesTest, defaultAndRegistered_followTheUsersListsAndParentsButSkipWhatCannotRun)
{
    struct Case {
        QStringList files;
        QString type, defaultId; // "": none
        QStringList registered;
    };
    const QString a = u"a.desktop text/plain;"_s, b = u"b.desktop text/plain;"_s, c = u"system/applications/kde/c.desktop text/plain;"_s;
    const QStringList parents = {u"text.desktop text/plain;"_s, u"hex.desktop application/octet-stream;"_s};
    const Case cases[] = {
        {{a, b, c}, u"text/plain"_s, u"a.desktop"_s, {u"a.desktop"_s, u"b.desktop"_s, u"kde-c.desktop"_s}},
        {{a, b, c, u"config/mimeapps.list =[Default Applications]\ntext/plain=gone.desktop;kde-c.desktop;\n"
                   "[Removed Associations]\ntext/plain=a.desktop;\n"_s},
            u"text/plain"_s, u"kde-c.desktop"_s, {u"kde-c.desktop"_s, u"b.desktop"_s}},
        {{a, u"z.desktop image/png;"_s, u"etc/test-mimeapps.list =[Added Associations]\ntext/plain=z.desktop;\n"_s},
            u"text/plain"_s, u"z.desktop"_s, {u"z.desktop"_s, u"a.desktop"_s}},
        {parents, u"text/x-csrc"_s, u"text.desktop"_s, {u"text.desktop"_s}},
        {parents, u"application/zip"_s, {}, {}},
        {parents, u"application/octet-stream"_s, u"hex.desktop"_s, {u"hex.desktop"_s}},
        {{u"system/applications/a.desktop text/plain;"_s, u"a.desktop =[Desktop Entry]\nHidden=true\n"_s,
             u"t.desktop text/plain;|TryExec=not-installed-anywhere"_s,
             u"m.desktop =[Desktop Entry]\nType=Application\nName=M\nExec=missing-program %f\nMimeType=text/plain;\n"_s},
            u"text/plain"_s, {}, {}},
    };
    for (const Case &row : cases) {
        SCOPED_TRACE(row.files.join(u' ').toStdString());
        for (const char *folder : {"data", "system", "config", "etc"})
            QDir(home.file(QString::fromLatin1(folder))).removeRecursively();
        for (const QString &file : row.files) {
            QString path = file.section(u' ', 0, 0), rest = file.section(u' ', 1);
            path = path.contains(u'/') ? path : u"data/applications/"_s + path;
            if (rest.startsWith(u'='))
                home.write(path, rest.mid(1).toUtf8());
            else
                app(path, u"App"_s, rest.section(u'|', 0, 0), rest.section(u'|', 1) + u'\n');
        }
        const DesktopEntries entries;
        const auto found = entries.defaultFor(row.type);
        EXPECT_EQ(found ? found->id : QString(), row.defaultId);
        EXPECT_EQ(ids(entries.registeredFor(row.type)), row.registered);
    }
}

TEST_F(DesktopEntriesTest, terminalApplications_runInsideATerminal)
{
    app(u"data/applications/v.desktop"_s, u"V"_s, u"text/plain;"_s, u"Terminal=true\n"_s);
    set("PATH", home.file(u"bin"_s));
    EXPECT_FALSE(DesktopEntries().defaultFor(u"text/plain"_s)); // no terminal to run it in

    const QString terminal = script(u"bin/x-terminal-emulator"_s, "#!/bin/sh\n");
    const auto entry = DesktopEntries().defaultFor(u"text/plain"_s);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->commandLine(), terminal + u" -e some-app %f"_s);
}

TEST_F(DesktopEntriesTest, otherApplications_visibleUnregisteredAndByName)
{
    app(u"data/applications/reg.desktop"_s, u"Registered"_s, u"text/plain;"_s);
    app(u"data/applications/z.desktop"_s, u"zebra"_s, u"image/png;"_s);
    app(u"data/applications/y.desktop"_s, u"Apple"_s, QString());
    app(u"data/applications/n.desktop"_s, u"Nobody"_s, QString(), u"NoDisplay=true\n"_s);
    EXPECT_EQ(ids(DesktopEntries().otherApplications(u"text/plain"_s)),
        (QStringList {u"y.desktop"_s, u"z.desktop"_s}));
}

TEST_F(DesktopEntriesTest, openWithOffer_anAddressGetsOnlyTheProgramsOfItsScheme)
{
    app(u"data/applications/browser.desktop"_s, u"Browser"_s,
        u"text/html;x-scheme-handler/http;"_s);
    app(u"data/applications/viewer.desktop"_s, u"Viewer"_s, u"image/png;"_s);
    home.write(u"docs/a.png"_s, "");
    struct Case {
        QString target;
        QStringList registered, others;
        bool preselect;
        QString noneText;
    };
    const Case cases[] = {
        {u"http://example.com"_s, {u"browser.desktop"_s}, {}, false, {}},
        {u"HTTPS://example.com/a"_s, {}, {}, false, u"No Program Is Registered For Web Addresses."_s},
        {u"mailto:ann@example.com"_s, {}, {}, false, u"No Program Is Registered For E-Mail Addresses."_s},
        {home.file(u"docs/a.png"_s), {u"viewer.desktop"_s}, {u"browser.desktop"_s}, true, {}},
    };
    const DesktopEntries entries;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        const OpenWithOffer offer = entries.offerFor(c.target);
        EXPECT_EQ(ids(offer.registered), c.registered);
        EXPECT_EQ(ids(offer.others), c.others);
        EXPECT_EQ(offer.preselect, c.preselect);
        EXPECT_EQ(offer.noneText, c.noneText);
    }
}

} // namespace
} // namespace corvanta::test

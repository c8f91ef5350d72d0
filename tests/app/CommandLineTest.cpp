#include "app/CommandLine.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::test {
namespace {

using Action = CommandLine::Action;

QStringList words(const QString &line)
{
    return (u"corvanta "_s + line).split(u' ', Qt::SkipEmptyParts);
}

TEST(CommandLine, ownOptionsAreReadAndAnythingElseIsRefused)
{
    struct Case {
        const char *line;
        Action action;
        const char *dataDir;
        const char *error;
    };
    const Case cases[] = {
        {"", Action::Run, "", ""},
        {"--data-dir /tmp/d", Action::Run, "/tmp/d", ""},
        {"--data-dir=/tmp/d", Action::Run, "/tmp/d", ""},
        {"-data-dir /tmp/d", Action::Run, "/tmp/d", ""},
        {"-h", Action::Help, "", ""},
        {"--version", Action::Version, "", ""},
        // What Qt left is ours alone: one of its options still here was not Qt's to take.
        {"-style Fusion", Action::Error, "", "Unknown option 'style'."},
        {"--data-dir", Action::Error, "", "Missing value after '--data-dir'."},
        {"stray", Action::Error, "", "unexpected argument 'stray'"},
        {"--add a b --topic P/T --data-dir /tmp/d", Action::Add, "/tmp/d", ""},
        {"--add", Action::Error, "", "--add needs at least one FILE"},
        {"--topic P/T", Action::Error, "", "--topic goes with --add"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        const CommandLine parsed = parseCommandLine(words(QString::fromLatin1(c.line)));
        EXPECT_EQ(parsed.action, c.action);
        EXPECT_EQ(parsed.dataDir, QString::fromLatin1(c.dataDir));
        EXPECT_EQ(parsed.error, QString::fromLatin1(c.error));
    }
    const CommandLine add = parseCommandLine(words(u"--add a b --topic P/T"_s));
    EXPECT_EQ(add.files, (QStringList{u"a"_s, u"b"_s}));
    EXPECT_EQ(add.topic, u"P/T"_s);
}

TEST(CommandLine, helpAndVersionAreSeenBeforeQtAmongItsOptions)
{
    EXPECT_EQ(earlyAction(words(u"-platform offscreen -style Fusion --version"_s)), Action::Version);
    EXPECT_EQ(earlyAction(words(u"-reverse -h"_s)), Action::Help);
    // A folder named like an option is still a folder.
    EXPECT_EQ(earlyAction(words(u"--data-dir -h"_s)), Action::Run);
    EXPECT_EQ(earlyAction(words(u"-style Fusion"_s)), Action::Run);
    EXPECT_EQ(earlyAction(words(u"--add x"_s)), Action::Add);

    EXPECT_TRUE(choosesDisplay(words(u"-style Fusion -platform offscreen"_s)));
    EXPECT_TRUE(choosesDisplay(words(u"--display :3"_s)));
    EXPECT_FALSE(choosesDisplay(words(u"--data-dir /tmp/platform"_s)));
}

} // namespace
} // namespace corvanta::test

// Hand-in refusals no other test reaches: each case here failed once its check was taken out.
#include "filelist/HandIn.h"
#include "store/Store.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::test {
namespace {

// A file whose name a list line cannot carry as it is (spaces at an end, a line break) is
// refused with its reason, and the list stays as it was.
TEST(HandInGuardsTest, namesALineCannotCarry_areRefusedWithTheirReason)
{
    TempFolder desktop;
    const QString notHeld = u": a list cannot hold this name (TAB, line break or spaces at either end)"_s;
    const struct {
        QString name;
        QString message; // empty: added
    } cases[] = {
        {u"Deed.pdf"_s, {}},
        {u"Deed.pdf "_s, notHeld},
        {u" Deed.pdf"_s, notHeld},
        {u"De\red.pdf"_s, u": a list cannot hold this name. The file name holds a line break."_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        desktop.write(c.name, "x");
        const QString file = desktop.file(c.name);
        QStringList lines{u"Old\t/old"_s};
        const HandInAnswer answer = addHandedInFiles(lines, {file});
        if (c.message.isEmpty()) {
            EXPECT_EQ(answer.added, 1);
            EXPECT_EQ(lines.size(), 2);
        } else {
            EXPECT_EQ(answer.exitCode, 1);
            EXPECT_EQ(answer.messages, QStringList{file + c.message});
            EXPECT_EQ(lines, QStringList{u"Old\t/old"_s});
        }
    }
}

// A topic named in a hand-edited list that is no file name of its own never becomes a path.
TEST(HandInGuardsTest, topicThatIsNoFileName_isNoTarget)
{
    TempFolder data;
    Store store(data.path());
    data.write(u"Project.List"_s, "Alpha\r\n");
    data.write(u"Project.Topics"_s, "..\r\n");
    data.write(u"Projects/Alpha/Alpha.List"_s, "Plans\r\n..\r\n../../Evil\r\n");
    EXPECT_EQ(handInTarget(store, data.path(), u"alpha/plans"_s).path, data.file(u"Projects/Alpha/Plans.Files"_s));
    for (const QString &topic : {u".."_s, u"Alpha/.."_s, u"Alpha/../../Evil"_s}) {
        SCOPED_TRACE(topic.toStdString());
        const HandInTarget target = handInTarget(store, data.path(), topic);
        EXPECT_EQ(target.path, QString());
        EXPECT_FALSE(target.error.isEmpty());
    }
}

} // namespace
} // namespace corvanta::test

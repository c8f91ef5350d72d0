#include "platform/MsgBox.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta {
namespace {

// A user's text in a box: whole up to 200 characters, else its first 200 and "...", never
// ending in half of a character.
TEST(MsgBoxText, userText_cutsAt200CharactersNeverHalfACharacter)
{
    const QString smile = u"\U0001F600"_s; // two UTF-16 units
    const struct {
        const char *what;
        QString text;
        QString shown;
    } cases[] = {
        {"short", u"Letter"_s, u"Letter"_s},
        {"exactly 200", QString(200, u'a'), QString(200, u'a')},
        {"201", QString(201, u'a'), QString(200, u'a') + u"..."_s},
        {"200,000", QString(200000, u'b'), QString(200, u'b') + u"..."_s},
        {"pair across the cut", QString(199, u'c') + smile + u"d"_s, QString(199, u'c') + u"..."_s},
        {"pair before the cut", QString(198, u'c') + smile + u"d"_s, QString(198, u'c') + smile + u"..."_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(userText(c.text), c.shown);
    }
}

} // namespace
} // namespace corvanta

#include "platform/MsgBox.h"
#include "platform/TextBlocks.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvanta;
using namespace Qt::StringLiterals;

// Texts of every size, across many blocks and past their edges: each comes back as it went in,
// and none is overwritten by a later one.
TEST(TextBlocksTest, keptTexts_stayAsTheyWere_acrossBlocks)
{
    const qsizetype sizes[] = {0, 1, 9260, 500000, 524288, 524289, 3000000, 7, 2097152};
    std::vector<QByteArray> originals;
    std::vector<QByteArray> kept;
    TextBlocks blocks;
    for (int round = 0; round < 3; ++round) {
        for (const qsizetype size : sizes) {
            QByteArray text(size, Qt::Uninitialized);
            for (qsizetype i = 0; i < size; ++i)
                text[i] = char('a' + (i + round) % 26);
            kept.push_back(blocks.keep(text));
            originals.push_back(std::move(text));
        }
    }
    for (size_t i = 0; i < originals.size(); ++i)
        ASSERT_EQ(kept[i], originals[i]) << i;
}

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

#include "platform/TextBlocks.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvanta;

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

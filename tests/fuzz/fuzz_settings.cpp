// The settings reader: any file reads without a crash, every value read is at most 254
// characters, and a value written reads back as written while every other key keeps its value.

#include "FuzzSupport.h"

#include "app/IniFile.h"
#include "store/ListFiles.h"

using namespace corvanta;

namespace {

struct Key {
    const char *section;
    const char *key;
};

// The keys the program uses.
constexpr Key kKeys[] = {
    {"Screen", "Height"}, {"Screen", "Width"}, {"Screen", "Top"}, {"Screen", "Left"},
    {"User", "Name"}, {"Option", "Open"}, {"Option", "InsertName"}, {"Utility", "CloseAfterSave"},
    {"Project List", "DisplayLines"}, {"Project List", "Font Name"}, {"Project List", "Sort"},
    {"Topic List", "Font Size"}, {"File List", "Font Bold"}, {"File List", "Sort"},
    {"Startup Window", "Display Window"}, {"File Search", "MultiSearch"},
};

QString s(const char *text) { return QString::fromLatin1(text); }

QString blankTrimmed(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Store store; // each input a run of its own
    if (size == 0)
        return 0;
    // The first byte picks the key to write, the next up to 300 bytes are its value, the rest
    // is the file.
    const Key &written = kKeys[data[0] % std::size(kKeys)];
    const size_t valueSize = std::min<size_t>(size - 1, data[0] < 128 ? 8 : 300);
    const QString value = decodeListText(fuzz::bytesOf(data + 1, valueSize));
    const QByteArray file = fuzz::bytesOf(data + 1 + valueSize, size - 1 - valueSize);

    QStringList lines = splitLines(decodeListText(file));
    QStringList before;
    for (const Key &k : kKeys) {
        const QString read = iniValue(lines, s(k.section), s(k.key));
        FUZZ_CHECK(read.size() <= 254);
        before << read;
    }

    setIniValue(lines, s(written.section), s(written.key), value);
    QString expected = value;
    expected.replace(u'\r', u' ').replace(u'\n', u' ');
    expected = blankTrimmed(expected);
    bool found = false;
    const QString back = iniValue(lines, s(written.section), s(written.key), &found);
    FUZZ_CHECK(found);
    FUZZ_CHECK(expected.startsWith(back) && (back.size() == expected.size() || back.size() >= 253));
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        if (&kKeys[i] != &written)
            FUZZ_CHECK(iniValue(lines, s(kKeys[i].section), s(kKeys[i].key)) == before[qsizetype(i)]);
    }

    // The same through the file: written, then read back.
    const QString path = fuzz::fileWith(QStringLiteral("Corvanta.Ini"), file);
    FUZZ_CHECK(WriteIniString(store, path, s(written.section), s(written.key), value).ok);
    FUZZ_CHECK(ReadIniString(store, path, s(written.section), s(written.key), QString()) == back);
    return 0;
}

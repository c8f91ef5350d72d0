#include "app/IniFile.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvanta;
using namespace Qt::StringLiterals;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    mutable Store store;
    QString ini = dir.filePath(u"Corvanta.Ini"_s);

    void write(const QByteArray &bytes) const { test::writeBytes(ini, bytes); }
    QByteArray bytes() const { return test::bytesOf(ini); }

    QString read(const QString &section, const QString &key) const
    {
        return ReadIniString(store, ini, section, key, u"dflt"_s);
    }
};

} // namespace

// Names ignore case, values are trimmed, a Windows-1252 file decodes, a long value is cut to
// 254 characters; a missing file, section or key gives the default.
TEST_F(IniFileTest, read_findsTheKeyOrGivesTheDefault)
{
    const QByteArray hand = "; settings\n[ project list ]\n  Font Name =  Courier New  \r\n[Screen]\rheight=-60\r\n";
    const struct {
        QByteArray bytes; // none: no file
        QString section, key, value;
    } cases[] = {
        {{}, u"Screen"_s, u"Height"_s, u"dflt"_s},
        {hand, u"User"_s, u"Height"_s, u"dflt"_s},
        {hand, u"Screen"_s, u"Font Name"_s, u"dflt"_s},
        {hand, u"Project List"_s, u"FONT NAME"_s, u"Courier New"_s},
        {hand, u"SCREEN"_s, u"Height"_s, u"-60"_s},
        {"[User]\r\nName=Ren\xE9 \x80\r\n", u"user"_s, u"name"_s, u"René €"_s},
        {"[User]\r\nName=" + QByteArray(300, 'x') + "\r\n", u"User"_s, u"Name"_s, QString(254, u'x')},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        QFile::remove(ini);
        if (!c.bytes.isEmpty())
            write(c.bytes);
        EXPECT_EQ(read(c.section, c.key), c.value);
    }
}

// A key is replaced in place, other lines untouched; a missing file, section or key is created;
// line breaks in a value are stored as spaces.
TEST_F(IniFileTest, write_replacesInPlaceCreatesWhatIsMissingAndKeepsOneLine)
{
    write("; comment\r\n[Screen]\r\nHeight=6000\r\nWidth = 9708\r\n\r\n[File List]\r\nWidth=1\r\n");
    EXPECT_TRUE(WriteIniString(store, ini, u"screen"_s, u"WIDTH"_s, u"5000"_s));
    EXPECT_EQ(bytes(), "; comment\r\n[Screen]\r\nHeight=6000\r\nWidth=5000\r\n\r\n[File List]\r\nWidth=1\r\n");
    QFile::remove(ini);
    EXPECT_TRUE(WriteIniString(store, ini, u"Screen"_s, u"Height"_s, u"6000"_s));
    EXPECT_EQ(bytes(), "[Screen]\r\nHeight=6000\r\n");

    write("[Screen]\r\nHeight=6000\r\n\r\n[User]\r\nName=Al\r\n");
    EXPECT_TRUE(WriteIniString(store, ini, u"SCREEN"_s, u"Width"_s, u"9708"_s));
    EXPECT_TRUE(WriteIniString(store, ini, u"Option"_s, u"Open"_s, u"True"_s));
    EXPECT_EQ(bytes(), "[Screen]\r\nHeight=6000\r\nWidth=9708\r\n\r\n[User]\r\nName=Al\r\n"
                       "[Option]\r\nOpen=True\r\n");
    EXPECT_EQ(read(u"option"_s, u"open"_s), u"True"_s);
    QFile::remove(ini);
    EXPECT_TRUE(WriteIniString(store, ini, u"User"_s, u"Name"_s, u"Ann\r\nLee\rX\nY"_s));
    EXPECT_EQ(read(u"User"_s, u"Name"_s), u"Ann  Lee X Y"_s);
    EXPECT_EQ(bytes(), "[User]\r\nName=Ann  Lee X Y\r\n");
}

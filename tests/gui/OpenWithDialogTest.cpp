#include "platform/XdgEnvironment.h"

#include "gui/OpenWithDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>

namespace corvanta::test {
namespace {

class OpenWithDialogTest : public XdgEnvironment
{
protected:
    void SetUp() override
    {
        XdgEnvironment::SetUp();
        script(u"bin/some-app"_s, "#!/bin/sh\n");
        entry(u"viewer"_s, u"Viewer"_s, u"text/plain;"_s);
        entry(u"paint"_s, u"Paint"_s, u"image/png;"_s);
        entry(u"hidden"_s, u"Hidden Helper"_s, u"image/png;"_s, "NoDisplay=true\n");
        home.write(u"docs/a.txt"_s, "hello\n");
    }
    void entry(
        const QString &id, const QString &name, const QString &types, const QByteArray &extra = {})
    {
        desktopEntry(id + u".desktop"_s,
            "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() + "\nExec=some-app --"
                + id.toUtf8() + " %U\nMimeType=" + types.toUtf8() + "\n" + extra);
    }
    static QStringList texts(const QListWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
};

TEST_F(OpenWithDialogTest, registeredProgramsFirstThenOthersThenBrowse)
{
    OpenWithDialog dialog(home.file(u"docs/a.txt"_s));
    auto *list = dialog.findChild<QListWidget *>(u"programs"_s);
    ASSERT_TRUE(list);
    EXPECT_EQ(texts(list),
        (QStringList {u"Programs for this file type"_s, u"Viewer"_s, u"Other programs"_s,
            u"Paint"_s, u"Browse..."_s}));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_FALSE(list->item(0)->flags().testFlag(Qt::ItemIsSelectable));

    list->setCurrentRow(3);
    dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.command(), u"some-app --paint %U"_s);
}

} // namespace
} // namespace corvanta::test

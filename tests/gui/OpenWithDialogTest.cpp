#include "platform/XdgEnvironment.h"

#include "gui/OpenWithDialog.h"
#include "gui/QtUi.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

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

TEST_F(OpenWithDialogTest, addresses_offerOnlyTheirSchemesProgramsAndChooseNoneInAdvance)
{
    entry(u"browser"_s, u"Browser"_s, u"x-scheme-handler/http;"_s);
    OpenWithDialog web(u"http://example.com"_s);
    auto *list = web.findChild<QListWidget *>(u"programs"_s);
    EXPECT_EQ(texts(list), (QStringList {u"Programs for this address"_s, u"Browser"_s, u"Browse..."_s}));
    EXPECT_EQ(list->currentRow(), -1);
    EXPECT_FALSE(web.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled());

    OpenWithDialog mail(u"mailto:ann@example.com"_s);
    list = mail.findChild<QListWidget *>(u"programs"_s);
    EXPECT_EQ(texts(list),
        (QStringList {u"No Program Is Registered For E-Mail Addresses."_s, u"Browse..."_s}));
    EXPECT_FALSE(list->item(0)->flags().testFlag(Qt::ItemIsSelectable));
}

TEST_F(OpenWithDialogTest, chooser_opensCentredOverTheMainWindow)
{
    QWidget main;
    main.setGeometry(40, 60, 1000, 700);
    main.show();
    QtUi ui;
    ui.parent = &main;
    QPoint centre;
    bool boxesOverChooser = false; // a box it opens comes up over it, not over the main window
    QTimer::singleShot(0, [&] {
        if (auto *dialog = qobject_cast<OpenWithDialog *>(QApplication::activeModalWidget())) {
            centre = dialog->frameGeometry().center();
            boxesOverChooser = ui.parent == dialog;
            dialog->reject();
        }
    });
    ui.chooseProgram(u"http://example.com"_s, u" Open With"_s);
    EXPECT_LE((centre - main.frameGeometry().center()).manhattanLength(), 4);
    EXPECT_TRUE(boxesOverChooser);
    EXPECT_EQ(ui.parent, &main);
}

TEST_F(OpenWithDialogTest, chooseProgram_returnsTheChoiceOrNothingWhenCancelled)
{
    QtUi ui;
    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<OpenWithDialog *>(QApplication::activeModalWidget()))
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(
        ui.chooseProgram(home.file(u"docs/a.txt"_s), u" Open With"_s), u"some-app --viewer %U"_s);

    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<OpenWithDialog *>(QApplication::activeModalWidget())) {
            EXPECT_EQ(dialog->windowTitle(), u" Open With"_s);
            dialog->reject();
        }
    });
    EXPECT_TRUE(ui.chooseProgram(home.file(u"docs/a.txt"_s), u" Open With"_s).isEmpty());
}

} // namespace
} // namespace corvanta::test

#include "app/Settings.h"
#include "gui/ListModel.h"
#include "gui/QtFontDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QTimer>

namespace corvanta::test {
namespace {

TEST(QtFontDialogTest, defaultFace_showsAsTheDesktopsSansAndTheDialogKeepsItsStyle)
{
    const QFont shown = ListModel::toQFont(defaultListFont());
    EXPECT_EQ(QFontInfo(shown).family(),
        QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family());

    QtFontDialog dialogs;
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        FontSpec font = defaultListFont();
        QFont openedOn;
        QTimer::singleShot(0, [&openedOn, ok] {
            auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            openedOn = dialog->currentFont();
            ok ? dialog->accept() : dialog->reject();
        });
        EXPECT_EQ(dialogs.chooseFont(font), ok);
        // It opens on the face shown, upright and regular as the list is.
        EXPECT_EQ(openedOn.family(), QFontInfo(shown).family());
        EXPECT_FALSE(openedOn.italic());
        EXPECT_FALSE(openedOn.bold());
        const FontSpec expected {ok ? QFontInfo(shown).family() : defaultListFont().name, 10, false,
            false};
        EXPECT_EQ(font, expected);
    }
}

} // namespace
} // namespace corvanta::test

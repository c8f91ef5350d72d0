#include "app/Settings.h"
#include "gui/ListModel.h"
#include "gui/QtFontDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QTimer>

namespace corvanta::test {
namespace {

TEST(QtFontDialogTest, defaultFace_showsAsTheDesktopsSansAndTheDialogOpensOnItsRegularStyle)
{
    const QString shown = QFontInfo(ListModel::toQFont(defaultListFont())).family();
    EXPECT_EQ(shown, QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family());
    QtFontDialog dialogs;
    for (const bool ok : {false, true}) {
        FontSpec font = defaultListFont();
        QFont openedOn;
        QTimer::singleShot(0, [&openedOn, ok] {
            auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            openedOn = dialog->currentFont();
            ok ? dialog->accept() : dialog->reject();
        });
        EXPECT_EQ(dialogs.chooseFont(font), ok);
        EXPECT_EQ(openedOn.family(), shown);
        EXPECT_FALSE(openedOn.italic() || openedOn.bold()) << openedOn.styleName().toStdString();
        EXPECT_EQ(font, (FontSpec {ok ? shown : defaultListFont().name, 10, false, false}));
    }
}

} // namespace
} // namespace corvanta::test

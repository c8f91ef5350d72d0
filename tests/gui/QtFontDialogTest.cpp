#include "app/Settings.h"
#include "gui/ListModel.h"
#include "gui/QtFontDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QTimer>

using namespace Qt::StringLiterals;

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
        // The default face stands at the desktop's size: accepted, that is the size chosen.
        EXPECT_EQ(font, (FontSpec {ok ? shown : defaultListFont().name,
                                   ok ? QApplication::font().pointSizeF() : 10, false, false}));
    }
}

// The stored default face at its default size is the desktop's font, at the desktop's size; any
// font the user chose, even the default face at another size, stays as chosen.
TEST(QtFontDialogTest, defaultFontFollowsTheDesktopAndAChosenOneStays)
{
    const QFont before = QApplication::font();
    QFont desktop = before;
    desktop.setPointSizeF(18);
    QApplication::setFont(desktop);
    const FontSpec standard = defaultListFont();
    const struct {
        FontSpec stored;
        double size;
        bool bold;
    } cases[] = {
        {standard, 18, false},
        {{standard.name, 10, true, false}, 18, true},
        {{standard.name, 12, false, false}, 12, false},
        {{u"DejaVu Serif"_s, 10, false, false}, 10, false},
    };
    for (const auto &c : cases) {
        const QFont shown = ListModel::toQFont(c.stored);
        EXPECT_EQ(shown.pointSizeF(), c.size) << c.stored.name.toStdString() << " " << c.stored.size;
        EXPECT_EQ(shown.bold(), c.bold);
    }
    QApplication::setFont(before);
}

} // namespace
} // namespace corvanta::test

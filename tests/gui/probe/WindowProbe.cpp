// Starts the real main window over a data folder, prints where it stands and on which screen
// area, then closes it as the user would (the geometry is stored). The window placement tests
// run it under screen sizes and scale factors of their own, which a process fixes at its start.

#include "compose/Program.h"
#include "gui/MainWindow.h"
#include "gui/QtUi.h"
#include "support/FakeUi.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>

int main(int argc, char **argv)
{
    using namespace corvanta;
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QtUi ui;
    test::FakeClock clock; // the closing animation without its pauses
    Program program(Platform{ui, clock}, ModalWindows::of(ui), QString::fromLocal8Bit(argv[1]));
    MainWindow window(program.form(), ui);
    program.form().Form_Load();
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    const QRect frame = window.frameGeometry();
    const QRect area = window.screen()->availableGeometry();
    std::printf("window %d %d %d %d\nscreen %d %d %d %d\n", frame.x(), frame.y(), frame.width(),
                frame.height(), area.x(), area.y(), area.width(), area.height());
    program.form().closeMainWindow();
    return 0;
}

// Starts the real main window over a data folder, prints where it stands and on which screen
// area, then closes it as the user would (the geometry is stored). The window placement tests
// run it under screen sizes and scale factors of their own, which a process fixes at its start.
//
// With --signal-in-dialog it instead opens the new project's name dialog, types a name without
// saving it, prints "typed" and waits for SIGTERM or SIGHUP to end it.

#include "compose/Program.h"
#include "gui/MainWindow.h"
#include "gui/PointerEditorDialog.h"
#include "gui/QtUi.h"
#include "gui/TerminationSignals.h"
#include "support/FakeUi.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

using namespace corvanta;

// Types into the name dialog once it is up, then tells the test.
void typeWhenShown()
{
    auto *dialog = qobject_cast<PointerEditorDialog *>(QApplication::activeModalWidget());
    auto *name = dialog ? qobject_cast<QLineEdit *>(dialog->control(QStringLiteral("txtPointerName"))) : nullptr;
    if (!name) {
        QTimer::singleShot(20, typeWhenShown);
        return;
    }
    name->setFocus();
    name->insert(QStringLiteral("Half Typed"));
    std::puts("typed");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    using namespace corvanta;
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const bool signalInDialog = argc > 2 && std::strcmp(argv[2], "--signal-in-dialog") == 0;
    TerminationSignals termination;
    QtUi ui;
    test::FakeClock clock; // the closing animation without its pauses
    Program program(Platform{ui, clock}, ModalWindows::of(ui), QString::fromLocal8Bit(argv[1]));
    MainWindow window(program.form(), ui);
    termination.closes(&window);
    program.form().Form_Load();
    if (signalInDialog) {
        QTimer::singleShot(0, &window, [&program] { program.form().run(QStringLiteral("CreateNewProject")); });
        QTimer::singleShot(0, typeWhenShown);
        return QApplication::exec();
    }
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    const QRect frame = window.frameGeometry();
    const QRect area = window.screen()->availableGeometry();
    std::printf("window %d %d %d %d\nscreen %d %d %d %d\n", frame.x(), frame.y(), frame.width(),
                frame.height(), area.x(), area.y(), area.width(), area.height());
    program.form().closeMainWindow();
    return 0;
}

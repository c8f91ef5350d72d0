#pragma once

#include "app/MainForm.h"

#include <QMainWindow>
#include <QMargins>

#include <array>

class QLabel;
class QRadioButton;
class QFrame;
class QMenu;

namespace corvanta {

class CommandSurfaceView;
class FileListMarks;
class ListBox;
class QtUi;

// The main window: shows the MainForm's state and hands every user event to it.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(MainForm &form, QtUi &ui);
    ~MainWindow() override;

    ListBox *listBox(int which) const { return lists_[size_t(which)]; } // 0 Projects, 1 Topics, 2 Files
    QLabel *caption(int which) const { return labels_[size_t(which)]; }
    CommandSurfaceView *commandSurface() const { return surface_; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MainForm &form_;
    QtUi &ui_;
    CommandSurfaceView *surface_ = nullptr;
    QWidget *central_ = nullptr;
    std::array<ListBox *, 3> lists_{};
    std::array<QLabel *, 3> labels_{};
    QRadioButton *optOpen_ = nullptr;
    QRadioButton *optPrint_ = nullptr;
    QFrame *rule_ = nullptr;
    FileListMarks *marks_ = nullptr; // the File List's
    bool applying_ = false;
    QMargins margins_; // the frame the window had when its geometry was last applied

    void formChanged(MainForm::Change change);
    void applyGeometry();
    void fitMinimumWidthToFont();
    void applyLayout();
    void reportGeometry();
    QMargins currentFrameMargins() const;
    QRect frameRectFor(const WindowGeometry &g) const;
    QMenu *menuNamed(const QString &name) const;
    QPoint popupPoint() const;
    void openMenuBar();
};

} // namespace corvanta

#pragma once

#include <QDialog>

class QCheckBox;

namespace corvanta {

class StartupWindow;

// The Getting Started window over its core state.
class StartupWindowDialog : public QDialog {
    Q_OBJECT

public:
    StartupWindowDialog(StartupWindow &window, QWidget *parent = nullptr);

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    StartupWindow &window_;
    QCheckBox *chkHideWindow_ = nullptr;
    bool unloaded_ = false;
};

} // namespace corvanta

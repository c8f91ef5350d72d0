#pragma once

#include "search/FileSearch.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QAction;
class QMenu;
class QProgressBar;
class QRadioButton;

namespace corvanta {

class ListBox;

// The global file search window over its core: shows the FileSearch's state and hands every
// user event to the handler of the same name. It sees every key before its controls.
class FileSearchWindow : public QDialog
{
    Q_OBJECT

public:
    explicit FileSearchWindow(FileSearch &search, QWidget *parent = nullptr);
    ~FileSearchWindow() override;

    QLineEdit *textBox() const { return txtFileSearch_; }
    QComboBox *driveList() const { return Drive1_; }
    QRadioButton *multipleOption() const { return optMultiple_; }
    QRadioButton *singleOption() const { return optSingle_; }
    ListBox *resultsList() const { return lstFileSearch_; }
    QProgressBar *progressBar() const { return ProgressBar1_; }
    QPushButton *stopButton() const { return cmdStop_; }
    QLabel *statusLabel() const { return lblStatus_; }
    // When set, chooses from the results popup instead of the user (tests).
    std::function<QAction *(QMenu &)> choosePopupItem;

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FileSearch &search_;
    QLineEdit *txtFileSearch_ = nullptr;
    QComboBox *Drive1_ = nullptr;
    QRadioButton *optMultiple_ = nullptr;
    QRadioButton *optSingle_ = nullptr;
    ListBox *lstFileSearch_ = nullptr;
    QProgressBar *ProgressBar1_ = nullptr;
    QPushButton *cmdStop_ = nullptr;
    QLabel *lblStatus_ = nullptr;
    bool unloaded_ = false;

    void searchChanged(FileSearch::Change change);
    void applyLayout();
    void syncDrives();
    void syncOptions();
    void syncProgress();
    void syncRunning();
    void syncStatus();
    void syncFocus();
    void showPopup();
};

} // namespace corvanta

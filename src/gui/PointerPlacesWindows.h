#pragma once

#include "search/FindPointer.h"
#include "search/MissingTargets.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace corvanta {

// Rows of pointers in their places, read from a window's logic as the view asks: 100,000 rows
// cost nothing until shown.
class PlacesModel : public QAbstractTableModel
{
public:
    PlacesModel(QStringList headers, std::function<int()> rows,
        std::function<QString(int, int)> cell, QObject *parent);
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void reset();
    // Rows were added at the end.
    void grow();

private:
    QStringList headers_;
    std::function<int()> rows_;
    std::function<QString(int, int)> cell_;
    int shown_ = 0; // the rows the view knows of
};

// The Find Pointer window: a filter box over the results. Enter or a double-click opens the
// pointer's topic, Ctrl+Enter its target.
class FindPointerWindow : public QDialog
{
public:
    explicit FindPointerWindow(PointerFinder &finder, QWidget *parent = nullptr);
    ~FindPointerWindow() override { finder_.onChanged = nullptr; }

    QLineEdit *filterBox() const { return filter_; }
    QTreeView *results() const { return results_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PointerFinder &finder_;
    QLineEdit *filter_ = nullptr;
    QTreeView *results_ = nullptr;
    PlacesModel *model_ = nullptr;

    int currentRow() const;
};

// The Check Missing Targets window: the pointers whose targets are missing or not reachable,
// with Go To and Remove Selected.
class MissingTargetsWindow : public QDialog
{
public:
    explicit MissingTargetsWindow(MissingTargets &window, QWidget *parent = nullptr);
    ~MissingTargetsWindow() override { window_.onChanged = nullptr; }

    QTreeView *results() const { return results_; }
    QPushButton *goToButton() const { return goTo_; }
    QPushButton *removeButton() const { return remove_; }
    QPushButton *locateButton() const { return locate_; }
    QPushButton *findMovedButton() const { return findMoved_; }

private:
    MissingTargets &window_;
    QTreeView *results_ = nullptr;
    PlacesModel *model_ = nullptr;
    QPushButton *goTo_ = nullptr;
    QPushButton *locate_ = nullptr;
    QPushButton *findMoved_ = nullptr;
    QPushButton *remove_ = nullptr;

    void syncSelection();
};

// The " Moved Files Found" window: the files Find Moved finds with their folders, newest first,
// coming in as the walk goes, the folder walked and the count above them. Escape or Stop ends
// the walk at once (Escape again closes); Enter or a double-click chooses the current file.
class MovedFilesWindow : public QDialog
{
public:
    MovedFilesWindow(MissingTargets::MovedSearch &search, QWidget *parent = nullptr);

    QTreeView *results() const { return results_; }
    QPushButton *stopButton() const { return stop_; }
    QString progress() const;
    // The row chosen, -1 for none.
    int chosenRow() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    MissingTargets::MovedSearch &search_;
    QTreeView *results_ = nullptr;
    PlacesModel *model_ = nullptr;
    QLabel *progress_ = nullptr;
    QPushButton *relink_ = nullptr;
    QPushButton *stop_ = nullptr;

    void takeNews();
};

// Shows the window over parent until it closes: the row chosen, or -1.
int chooseMovedFile(MissingTargets::MovedSearch &search, QWidget *parent);

} // namespace corvanta

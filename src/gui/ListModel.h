#pragma once

#include "store/ListControl.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QPalette>

#include <memory>

namespace corvanta {

class TargetMarks;

// Shows a ListControl to a Qt view without copying its rows. Row and column counts are the ones
// last announced, so a list filled while its redraw is off stays consistent to the view until the
// one reset that follows.
class ListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ListModel(ListControl &control, QObject *parent = nullptr);
    ~ListModel() override;

    ListControl &control() const { return control_; }

    // A row is shown from its first DisplayedChars characters only: laying out a hand-edited
    // list's 50 MB line would take the view minutes and gigabytes. The data stays whole.
    static constexpr qsizetype DisplayedChars = 1000;
    // Column col of what is shown of text: the column as it stands within the first
    // DisplayedChars characters, "" when it begins after them.
    static QString displayedColumn(const QString &text, int col);

    // Selected rows are painted with this palette's highlight colours.
    void setPalette(const QPalette &palette);
    // The list's font as a QFont; an empty name keeps the application's family.
    QFont font() const { return font_; }
    static QFont toQFont(const ListFont &font);

    // The columns' names, read out by a screen reader; unnamed columns keep their numbers.
    void setColumnNames(const QStringList &names) { columnNames_ = names; }
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Rows are pointers: each shows its kind's icon and its target's mark from marks, which
    // must outlive the model (or be set back to nullptr).
    void setTargetMarks(const TargetMarks *marks) { marks_ = marks; }
    // The marks changed: every row's icon and description is shown anew.
    void marksChanged();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    // Hears the control; kept apart so its names do not hide the model's own signals.
    class Follower;
    friend class Follower;

    void resetAll();
    void changeRows(int first, int last);
    void changeAppearance();

    ListControl &control_;
    int rows_ = 0;
    int columns_ = 1;
    QFont font_;
    QPalette palette_;
    QStringList columnNames_;
    const TargetMarks *marks_ = nullptr;
    std::unique_ptr<Follower> follower_;
};

} // namespace corvanta

#pragma once

#include "store/ListControl.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTableView>

#include <memory>

class QMimeData;

namespace corvanta {

class ListModel;

// The list box on screen: draws a ListControl (through a ListModel) and hands every mouse, key
// and focus event to it. The selection and the current row are the control's; the view only
// shows them. The control must outlive the view.
class ListBox : public QTableView
{
    Q_OBJECT

public:
    explicit ListBox(ListControl &control, QWidget *parent = nullptr);
    ~ListBox() override;

    ListControl &control() { return control_; }
    ListModel *listModel() const { return model_; }

    // Rows one page key moves: the rows that fit, less one kept in view.
    int pageRows() const;

    // While the popup key (Menu, Shift+F10) is handled: its popup stands at the current row.
    bool popupKeyPressed() const { return popupKeyPressed_; }
    // Where a popup for the current row stands, in global coordinates.
    QPoint currentRowPopupPoint() const;

    // Takes files dropped from a file manager (file: URLs) and announces them with filesDropped
    // once the drop is over. Any other drop is refused; a list takes none unless set to.
    void setAcceptsFileDrops(bool on);
    // The local paths of a drop, or none when it holds anything but local files.
    static QStringList droppedFiles(const QMimeData *mime);
    // The File List starts a drag of its selected pointers; the Topic List takes them. Only
    // this program's own pointer drags are taken; the Project List takes none.
    void setStartsPointerDrags(bool on) { startsPointerDrags_ = on; }
    void setAcceptsPointerDrops(bool on);
    static QString pointerDragFormat() { return QStringLiteral("application/x-corvanta-pointers"); }

signals:
    // Local paths of the files dropped, and the row under the drop (-1 below the last row).
    void filesDropped(const QStringList &paths, int row);
    // Pointers dragged from the File List dropped on row; copy when Ctrl was held.
    void pointersDropped(int row, bool copy);

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Hears the control; kept apart so its names do not hide the item view's own.
    class Follower;
    friend class Follower;

    void followReset();
    void applyAppearance();
    void showCurrentRow(int row);
    void reportFocus(bool focus);

    ListControl &control_;
    ListModel *model_;
    QString typed_; // type-ahead text gathered so far
    QElapsedTimer lastTyped_;
    std::unique_ptr<Follower> follower_;
    bool acceptsFileDrops_ = false;
    bool startsPointerDrags_ = false;
    bool acceptsPointerDrops_ = false;
    QPoint pressPos_;
    bool pressed_ = false;
    bool popupKeyPressed_ = false;

    bool acceptPointerDrag(QDropEvent *event);

    bool acceptFileDrag(QDropEvent *event);
};

} // namespace corvanta

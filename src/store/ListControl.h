#pragma once

#include "platform/FontDialog.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <vector>

namespace corvanta {

class ListControl;

// Handlers for the events a list raises on user input. Changes the program makes itself raise no
// Click; a KeyDown handler consumes a key by setting its code to 0.
class ListControlEvents {
public:
    virtual ~ListControlEvents() = default;
    virtual void Click(ListControl &) {}
    virtual void DblClick(ListControl &) {}
    virtual void GotFocus(ListControl &) {}
    virtual void LostFocus(ListControl &) {}
    virtual void KeyDown(ListControl &, int & /*keyCode*/, int & /*shift*/) {}
    virtual void MouseDown(ListControl &, int /*button*/, int /*shift*/, int /*row*/) {}
    virtual void MouseMove(ListControl &, int /*button*/, int /*shift*/, int /*row*/) {}
    // The popup key (Menu, Shift+F10): the list's popup for its current row (-1 without one).
    virtual void PopupKey(ListControl &, int /*row*/) {}
};

// Told about every change, so a view can follow the rows without copying them.
class ListControlObserver {
public:
    virtual ~ListControlObserver() = default;
    virtual void listReset() = 0;                       // everything may have changed
    // The "about to" calls come just before the rows change, so a Qt model can bracket them.
    virtual void rowsAboutToBeInserted(int /*first*/, int /*count*/) {}
    virtual void rowsInserted(int first, int count) = 0;
    virtual void rowsAboutToBeRemoved(int /*first*/, int /*count*/) {}
    virtual void rowsRemoved(int first, int count) = 0;
    virtual void rowsChanged(int first, int last) = 0;  // text, selection or colour
    virtual void currentRowChanged(int row) = 0;
    virtual void appearanceChanged() = 0;               // columns, widths, font, lines, tooltip
    virtual void focusRequested() = 0;                  // the program gave this list the focus
};

using ListFont = FontSpec;

// Whether a list keeps its rows in its column sort order: Suspended while rows are being loaded
// or the order is being changed; going Active again sorts by the column sort direction.
enum class ListSortState { Active, Suspended };
// The order a list sorts its first column in.
enum class SortDirection { None, Ascending, Descending };
// Whether a list draws lines between its rows and columns.
enum class GridLines { Hidden, Shown };

// The list box behind the Project, Topic and File Lists and the search results: rows of text
// whose columns are split at TAB, a cursor (Row, Col) through which the row text, a column's
// text and the selection flag are read and written, and the current row (ListIndex).
class ListControl {
public:
    static constexpr int NoColour = -1;

    explicit ListControl(int columns = 1, bool multiSelect = false);

    // --- rows ---
    void clear();                              // all rows; the column sort direction goes too
    void insertRow(const QString &text);       // at Row; Row past the end appends
    void addRow(const QString &text);          // at the end
    int ListCount() const { return int(rows_.size()); }

    // --- cursor ---
    int Row() const { return row_; }
    void setRow(int row) { row_ = row; }       // changes no selection
    int Col() const { return col_; }
    void setCol(int col) { col_ = col; }
    QString List() const;                      // text of row Row, columns joined by TAB
    void setList(const QString &text);
    QString ColList() const;                   // text of column Col of row Row
    void setColList(const QString &text);
    bool Selected() const;                     // of row Row
    void setSelected(bool selected);

    QString rowText(int row) const;            // direct access for views and writers
    QString columnText(int row, int col) const;
    bool isSelected(int row) const;

    int ListIndex() const { return listIndex_; }
    void setListIndex(int row);                // -1 for none; changes no selection; no Click
    // Makes row the current row (Row and ListIndex) and selects it; a row out of range does nothing.
    void selectRow(int row);
    int SelCount() const { return selCount_; }
    // The row a one-row command acts on: the only selected row when exactly one is selected (the
    // current row may stand elsewhere after a Ctrl-click), else the current row.
    int actionRow() const;
    int NextSel();                             // next selected row after the last one read, or -1
    void resetNextSel() { nextSel_ = -1; }     // NextSel = -1
    int MouseOverRow() const { return mouseOverRow_; }
    void setMouseOverRow(int row) { mouseOverRow_ = row; }

    void selectAll();                          // every row; nothing in a single-select list
    void deselectAll();
    void removeRow(int row);                   // a row out of range does nothing
    // Deletes every selected row, as removeRow on each of them from the last up would, in one pass
    // and one reset: 50,000 rows of 100,000 go at once, not one shift of the rest per row.
    // Returns the lowest index deleted, or -1 when nothing was selected.
    int removeSelectedRows();

    // --- sorting: column sort on column 0 as text (stable, case-insensitive, locale order) ---
    void setSortState(ListSortState state);    // going Active sorts by ColSorted
    ListSortState SortState() const { return sortState_; }
    void setColSorted(SortDirection direction);
    SortDirection ColSorted() const { return colSorted_; }
    void setSorted(SortDirection direction);   // one-shot sort of all rows; None does nothing

    // --- appearance ---
    int Columns() const { return columns_; }
    void setColumns(int columns);
    bool ColHide(int col) const;
    void setColHide(int col, bool hidden);
    double ColWidth(int col) const;            // twips; 0 = view decides
    void setColWidth(int col, double twips);
    GridLines gridLines() const { return gridLines_; }
    void setGridLines(GridLines lines);
    const ListFont &font() const { return font_; }
    void setFont(const ListFont &font);
    void setFontName(const QString &name);
    void setFontSize(double size);
    void setFontBold(bool bold);
    void setFontItalic(bool italic);
    int rowBackColour(int row) const;          // 0xRRGGBB or NoColour (the window colour)
    void setRowBackColour(int row, int rgb);
    QString toolTip() const { return toolTip_; }
    void setToolTip(const QString &text);
    bool multiSelect() const { return multiSelect_; }

    // While updates are suspended observers hear nothing; resuming sends one listReset.
    void setRedraw(bool on);
    bool redraw() const { return redraw_; }

    // --- focus ---
    void setFocus();                           // asks the window for the focus (focusRequested)
    void setHasFocus(bool focus);              // the window reports the focus; raises Got/LostFocus
    bool hasFocus() const { return hasFocus_; }

    // --- user input, as the view reports it; each raises the events the original list raised ---
    // A press of the mouse on row (-1 below the last row); the left button moves the current row
    // and the selection (Shift extends, Ctrl toggles in a multi-select list), then raises
    // MouseDown and Click: every left click counts, on the current row and below the rows too.
    void userMouseDown(int row, int button, int shift);
    void userDoubleClick(int row);             // Click already came with the press; raises DblClick
    void userMouseMove(int row, int button, int shift);
    // A key: KeyDown first; unless consumed, Up, Down, Home, End, PageUp/PageDown (pageRows rows)
    // and Space move the current row and selection, raising Click when either changed. Returns
    // true when the handler consumed the key or the list acted on it; the view passes other keys
    // on to its window. While typing is true (a type-ahead under way) Space is left to it.
    bool userKeyDown(int keyCode, int shift, int pageRows = 10, bool typing = false);
    // Type-ahead: moves to the first row at or after the current one (wrapping) whose first
    // column starts with text, ignoring case; a single character, or one character typed again
    // and again, starts after the current row so that repeating it cycles through the rows.
    // Raises Click when the row changed; returns whether a row matched.
    bool userKeyboardSearch(const QString &text);
    // The popup key: raises PopupKey for the current row; the selection stays as it is.
    void userPopupKey();

    void setEvents(ListControlEvents *events) { events_ = events; }
    void addObserver(ListControlObserver *observer);
    void removeObserver(ListControlObserver *observer);

private:
    struct RowData {
        QString text;
        bool selected = false;
        int back = NoColour;
    };
    std::vector<RowData> rows_;
    int columns_;
    bool multiSelect_;
    int row_ = 0;
    int col_ = 0;
    int listIndex_ = -1;
    int selCount_ = 0;
    int nextSel_ = -1;
    int mouseOverRow_ = -1;
    int anchor_ = -1;
    ListSortState sortState_ = ListSortState::Active;
    SortDirection colSorted_ = SortDirection::None;
    GridLines gridLines_ = GridLines::Hidden;
    std::vector<bool> colHidden_;
    std::vector<double> colWidth_;
    ListFont font_;
    QString toolTip_;
    bool redraw_ = true;
    bool hasFocus_ = false;
    ListControlEvents *events_ = nullptr;
    std::vector<ListControlObserver *> observers_;

    quint64 selectionChanges_ = 0;             // bumps on every selection flip; Click detection

    bool validRow(int row) const { return row >= 0 && row < ListCount(); }
    static QStringView firstColumn(const QString &text); // the row text up to its first TAB
    void sortRows(SortDirection direction);
    void insertAt(int at, const QString &text);
    void removeAt(int at);
    bool setRowSelected(int row, bool selected); // keeps SelCount; true when the flag flipped
    void setSelectedRange(int first, int last, bool selected);
    void selectOnly(int row);                  // deselects every other row
    void selectRangeOnly(int first, int last);
    void moveCurrent(int row);                 // sets ListIndex and notifies
    void userMoveTo(int row, int shift);       // current row and selection as a key move does
    // notification helpers live in the .cpp
    friend class ListControlNotifier;
};

} // namespace corvanta

#include "store/ListControl.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QStringView>

#include <algorithm>
#include <numeric>

namespace corvanta {

namespace {

constexpr QChar ColumnSeparator = u'\t';

// Column col of a TAB-joined row; a column past the last separator is empty.
QString fieldOf(const QString &text, int col)
{
    if (col < 0)
        return {};
    qsizetype start = 0;
    for (int i = 0; i < col; ++i) {
        const qsizetype tab = text.indexOf(ColumnSeparator, start);
        if (tab < 0)
            return {};
        start = tab + 1;
    }
    const qsizetype end = text.indexOf(ColumnSeparator, start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

} // namespace

QStringView ListControl::firstColumn(const QString &text)
{
    const qsizetype tab = text.indexOf(ColumnSeparator);
    return tab < 0 ? QStringView(text) : QStringView(text).left(tab);
}

// Observers hear nothing while redraw is off; resuming redraw sends one reset instead.
class ListControlNotifier
{
public:
    template<typename F>
    static void send(const ListControl &list, F &&call)
    {
        if (!list.redraw_)
            return;
        // Index loop: an observer may remove itself while it is told.
        for (std::size_t i = 0; i < list.observers_.size(); ++i)
            call(*list.observers_[i]);
    }
    template<typename F>
    static void sendAlways(const ListControl &list, F &&call)
    {
        for (std::size_t i = 0; i < list.observers_.size(); ++i)
            call(*list.observers_[i]);
    }
};

using Notify = ListControlNotifier;

ListControl::ListControl(int columns, bool multiSelect)
    : columns_(std::max(1, columns)),
      multiSelect_(multiSelect),
      colHidden_(std::size_t(columns_), false),
      colWidth_(std::size_t(columns_), 0.0)
{ }

// --- rows ---

void ListControl::clear()
{
    if (selCount_ > 0)
        ++selectionChanges_;
    rows_.clear();
    listIndex_ = -1;
    selCount_ = 0;
    nextSel_ = -1;
    anchor_ = -1;
    mouseOverRow_ = -1;
    colSorted_ = SortDirection::None;
    Notify::send(*this, [](ListControlObserver &o) { o.listReset(); });
}

void ListControl::insertRow(const QString &text)
{
    insertAt(validRow(row_) ? row_ : ListCount(), text);
}

void ListControl::addRow(const QString &text)
{
    insertAt(ListCount(), text);
}

void ListControl::insertAt(int at, const QString &text)
{
    Notify::send(*this, [at](ListControlObserver &o) { o.rowsAboutToBeInserted(at, 1); });
    rows_.insert(rows_.begin() + at, RowData {text});
    const bool currentMoved = listIndex_ >= at;
    // Indexes that point at rows keep pointing at the same rows.
    if (listIndex_ >= at)
        ++listIndex_;
    if (anchor_ >= at)
        ++anchor_;
    if (nextSel_ >= at)
        ++nextSel_;
    Notify::send(*this, [at](ListControlObserver &o) { o.rowsInserted(at, 1); });
    if (currentMoved)
        Notify::send(*this, [this](ListControlObserver &o) { o.currentRowChanged(listIndex_); });
}

void ListControl::removeAt(int at)
{
    Notify::send(*this, [at](ListControlObserver &o) { o.rowsAboutToBeRemoved(at, 1); });
    if (rows_[std::size_t(at)].selected) {
        --selCount_;
        ++selectionChanges_;
    }
    rows_.erase(rows_.begin() + at);
    const int count = ListCount();
    // A row above going shifts an index up; losing its own row leaves it on the row that moved
    // into the place, or on the new last row.
    const auto follow = [&](int index) {
        if (index > at)
            return index - 1;
        if (index == at)
            return count == 0 ? -1 : std::min(index, count - 1);
        return index;
    };
    const int oldIndex = listIndex_;
    listIndex_ = follow(listIndex_);
    anchor_ = follow(anchor_);
    if (nextSel_ >= at)
        --nextSel_;
    if (mouseOverRow_ >= count)
        mouseOverRow_ = count - 1;
    Notify::send(*this, [at](ListControlObserver &o) { o.rowsRemoved(at, 1); });
    if (oldIndex >= at)
        Notify::send(*this, [this](ListControlObserver &o) { o.currentRowChanged(listIndex_); });
}

// --- cursor ---

QString ListControl::List() const
{
    return rowText(row_);
}

void ListControl::setList(const QString &text)
{
    if (!validRow(row_))
        return;
    rows_[std::size_t(row_)].text = text;
    const int row = row_;
    Notify::send(*this, [row](ListControlObserver &o) { o.rowsChanged(row, row); });
}

QString ListControl::ColList() const
{
    return columnText(row_, col_);
}

void ListControl::setColList(const QString &text)
{
    if (!validRow(row_) || col_ < 0)
        return;
    QString &rowText = rows_[std::size_t(row_)].text;
    QStringList fields = rowText.split(ColumnSeparator);
    while (fields.size() <= col_)
        fields.append(QString());
    fields[col_] = text;
    rowText = fields.join(ColumnSeparator);
    const int row = row_;
    Notify::send(*this, [row](ListControlObserver &o) { o.rowsChanged(row, row); });
}

bool ListControl::Selected() const
{
    return isSelected(row_);
}

void ListControl::setSelected(bool selected)
{
    if (!validRow(row_))
        return;
    if (selected && !multiSelect_)
        selectOnly(row_);
    else
        setRowSelected(row_, selected);
}

QString ListControl::rowText(int row) const
{
    return validRow(row) ? rows_[std::size_t(row)].text : QString();
}

QString ListControl::columnText(int row, int col) const
{
    return validRow(row) ? fieldOf(rows_[std::size_t(row)].text, col) : QString();
}

bool ListControl::isSelected(int row) const
{
    return validRow(row) && rows_[std::size_t(row)].selected;
}

void ListControl::selectRow(int row)
{
    if (!validRow(row))
        return;
    setRow(row);
    setListIndex(row);
    setSelected(true);
}

void ListControl::setListIndex(int row)
{
    if (row >= ListCount())
        return; // out of range: the list keeps its current row
    row = std::max(row, -1);
    anchor_ = row;
    moveCurrent(row);
}

void ListControl::moveCurrent(int row)
{
    if (row == listIndex_)
        return;
    listIndex_ = row;
    Notify::send(*this, [row](ListControlObserver &o) { o.currentRowChanged(row); });
}

int ListControl::actionRow() const
{
    if (selCount_ == 1) {
        for (int i = 0; i < ListCount(); ++i) {
            if (rows_[std::size_t(i)].selected)
                return i;
        }
    }
    return listIndex_;
}

int ListControl::NextSel()
{
    if (selCount_ > 0) {
        for (int i = std::max(nextSel_ + 1, 0); i < ListCount(); ++i) {
            if (rows_[std::size_t(i)].selected) {
                nextSel_ = i;
                return i;
            }
        }
    }
    nextSel_ = -1; // the next read starts over
    return -1;
}

int ListControl::removeSelectedRows()
{
    if (selCount_ == 0)
        return -1;
    // keptBefore[i]: the rows kept above row i, which is where row i (or, when it goes, the row
    // that moves into its place) ends up.
    std::vector<int> keptBefore(rows_.size() + 1, 0);
    int lowest = -1;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        keptBefore[i + 1] = keptBefore[i] + (rows_[i].selected ? 0 : 1);
        if (rows_[i].selected && lowest < 0)
            lowest = int(i);
    }
    const int removed = selCount_;
    rows_.erase(std::remove_if(rows_.begin(), rows_.end(), [](const RowData &r) { return r.selected; }),
                rows_.end());
    selCount_ = 0;
    selectionChanges_ += quint64(removed);
    const int count = ListCount();
    const auto follow = [&](int index) {
        if (index < 0 || index >= int(keptBefore.size()) - 1)
            return std::min(index, count - 1);
        return std::min(keptBefore[std::size_t(index)], count - 1);
    };
    listIndex_ = follow(listIndex_);
    anchor_ = follow(anchor_);
    if (nextSel_ >= 0)
        nextSel_ = keptBefore[std::size_t(std::min(nextSel_ + 1, int(keptBefore.size()) - 1))] - 1;
    if (mouseOverRow_ >= count)
        mouseOverRow_ = count - 1;
    row_ = lowest; // where the last of the single deletions would have left it
    Notify::send(*this, [](ListControlObserver &o) { o.listReset(); });
    Notify::send(*this, [this](ListControlObserver &o) { o.currentRowChanged(listIndex_); });
    return lowest;
}

void ListControl::selectAll()
{
    if (multiSelect_ && !rows_.empty())
        setSelectedRange(0, ListCount() - 1, true);
}

void ListControl::deselectAll()
{
    if (selCount_ > 0)
        setSelectedRange(0, ListCount() - 1, false);
}

void ListControl::removeRow(int row)
{
    if (validRow(row))
        removeAt(row);
}

// --- selection helpers ---

bool ListControl::setRowSelected(int row, bool selected)
{
    RowData &data = rows_[std::size_t(row)];
    if (data.selected == selected)
        return false;
    data.selected = selected;
    selCount_ += selected ? 1 : -1;
    ++selectionChanges_;
    Notify::send(*this, [row](ListControlObserver &o) { o.rowsChanged(row, row); });
    return true;
}

void ListControl::setSelectedRange(int first, int last, bool selected)
{
    int changedFirst = -1;
    int changedLast = -1;
    for (int i = std::max(first, 0); i <= last && i < ListCount(); ++i) {
        RowData &data = rows_[std::size_t(i)];
        if (data.selected == selected)
            continue;
        data.selected = selected;
        selCount_ += selected ? 1 : -1;
        if (changedFirst < 0)
            changedFirst = i;
        changedLast = i;
    }
    if (changedFirst < 0)
        return;
    ++selectionChanges_;
    Notify::send(*this, [changedFirst, changedLast](ListControlObserver &o) {
        o.rowsChanged(changedFirst, changedLast);
    });
}

void ListControl::selectOnly(int row)
{
    if (selCount_ > (isSelected(row) ? 1 : 0)) {
        setSelectedRange(0, row - 1, false);
        setSelectedRange(row + 1, ListCount() - 1, false);
    }
    setRowSelected(row, true);
}

void ListControl::selectRangeOnly(int first, int last)
{
    if (first > last)
        std::swap(first, last);
    if (selCount_ > 0) {
        setSelectedRange(0, first - 1, false);
        setSelectedRange(last + 1, ListCount() - 1, false);
    }
    setSelectedRange(first, last, true);
}

// --- sorting ---

void ListControl::setSortState(ListSortState state)
{
    sortState_ = state;
    if (sortState_ == ListSortState::Active && colSorted_ != SortDirection::None)
        sortRows(colSorted_);
}

void ListControl::setColSorted(SortDirection direction)
{
    colSorted_ = direction;
    if (sortState_ == ListSortState::Active && colSorted_ != SortDirection::None)
        sortRows(colSorted_);
}

void ListControl::setSorted(SortDirection direction)
{
    if (direction != SortDirection::None)
        sortRows(direction);
}

// Stable, so names that compare equal keep the order they were inserted in; the keys are
// made once, as a list of 100,000 rows must sort without a pause.
void ListControl::sortRows(SortDirection direction)
{
    const int count = ListCount();
    if (count < 2)
        return;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(std::size_t(count));
    // Folding first makes the order ignore case whichever collation backend is in use.
    for (const RowData &data : rows_)
        keys.push_back(collator.sortKey(firstColumn(data.text).toString().toCaseFolded()));
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    const bool descending = direction == SortDirection::Descending;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return descending ? keys[std::size_t(b)].compare(keys[std::size_t(a)]) < 0
                          : keys[std::size_t(a)].compare(keys[std::size_t(b)]) < 0;
    });

    std::vector<RowData> sorted;
    sorted.reserve(std::size_t(count));
    std::vector<int> newPosition(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        sorted.push_back(std::move(rows_[std::size_t(order[std::size_t(i)])]));
        newPosition[std::size_t(order[std::size_t(i)])] = i;
    }
    rows_.swap(sorted);
    // The current row and the anchor travel with their rows, like the selection flags.
    if (validRow(listIndex_))
        listIndex_ = newPosition[std::size_t(listIndex_)];
    if (validRow(anchor_))
        anchor_ = newPosition[std::size_t(anchor_)];
    nextSel_ = -1;
    Notify::send(*this, [](ListControlObserver &o) { o.listReset(); });
}

// --- appearance ---

void ListControl::setColumns(int columns)
{
    columns = std::max(1, columns);
    if (columns == columns_)
        return;
    columns_ = columns;
    colHidden_.resize(std::size_t(columns_), false);
    colWidth_.resize(std::size_t(columns_), 0.0);
    Notify::send(*this, [](ListControlObserver &o) { o.appearanceChanged(); });
}

bool ListControl::ColHide(int col) const
{
    return col >= 0 && col < columns_ && colHidden_[std::size_t(col)];
}

void ListControl::setColHide(int col, bool hidden)
{
    if (col < 0 || col >= columns_ || colHidden_[std::size_t(col)] == hidden)
        return;
    colHidden_[std::size_t(col)] = hidden;
    Notify::send(*this, [](ListControlObserver &o) { o.appearanceChanged(); });
}

double ListControl::ColWidth(int col) const
{
    return col >= 0 && col < columns_ ? colWidth_[std::size_t(col)] : 0.0;
}

void ListControl::setColWidth(int col, double twips)
{
    if (col < 0 || col >= columns_ || colWidth_[std::size_t(col)] == twips)
        return;
    colWidth_[std::size_t(col)] = std::max(0.0, twips);
    Notify::send(*this, [](ListControlObserver &o) { o.appearanceChanged(); });
}

void ListControl::setGridLines(GridLines lines)
{
    if (lines == gridLines_)
        return;
    gridLines_ = lines;
    Notify::send(*this, [](ListControlObserver &o) { o.appearanceChanged(); });
}

void ListControl::setFont(const ListFont &font)
{
    if (font == font_)
        return;
    font_ = font;
    Notify::send(*this, [](ListControlObserver &o) { o.appearanceChanged(); });
}

void ListControl::setFontName(const QString &name)
{
    ListFont font = font_;
    font.name = name;
    setFont(font);
}

void ListControl::setFontSize(double size)
{
    ListFont font = font_;
    font.size = size;
    setFont(font);
}

void ListControl::setFontBold(bool bold)
{
    ListFont font = font_;
    font.bold = bold;
    setFont(font);
}

void ListControl::setFontItalic(bool italic)
{
    ListFont font = font_;
    font.italic = italic;
    setFont(font);
}

int ListControl::rowBackColour(int row) const
{
    return validRow(row) ? rows_[std::size_t(row)].back : NoColour;
}

void ListControl::setRowBackColour(int row, int rgb)
{
    if (!validRow(row))
        return;
    rgb = rgb < 0 ? NoColour : (rgb & 0xFFFFFF);
    if (rows_[std::size_t(row)].back == rgb)
        return;
    rows_[std::size_t(row)].back = rgb;
    Notify::send(*this, [row](ListControlObserver &o) { o.rowsChanged(row, row); });
}

void ListControl::setToolTip(const QString &text)
{
    if (text == toolTip_)
        return;
    toolTip_ = text;
    Notify::send(*this, [](ListControlObserver &o) { o.appearanceChanged(); });
}

void ListControl::setRedraw(bool on)
{
    if (on == redraw_)
        return;
    redraw_ = on;
    Notify::send(*this, [](ListControlObserver &o) { o.listReset(); });
}

// --- focus ---

void ListControl::setFocus()
{
    Notify::sendAlways(*this, [](ListControlObserver &o) { o.focusRequested(); });
}

void ListControl::setHasFocus(bool focus)
{
    if (focus == hasFocus_)
        return;
    hasFocus_ = focus;
    if (!events_)
        return;
    if (focus)
        events_->GotFocus(*this);
    else
        events_->LostFocus(*this);
}

// --- observers ---

void ListControl::addObserver(ListControlObserver *observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void ListControl::removeObserver(ListControlObserver *observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

} // namespace corvanta

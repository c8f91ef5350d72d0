#include "platform/Keys.h"
#include "store/ListControl.h"

#include <algorithm>

// What the user does to a list: the selection and current-row moves the list makes itself, and
// the events it raises for them.

namespace corvanta {

namespace {

// True when text is one character typed one or more times (ignoring case).
bool isOneRepeatedCharacter(const QString &text)
{
    const QString folded = text.toCaseFolded();
    return std::all_of(
        folded.cbegin(), folded.cend(), [&](QChar c) { return c == folded.front(); });
}

} // namespace

// The user moving the current row: selection follows it; in a multi-select list Shift extends
// from the anchor and Ctrl moves the current row alone.
void ListControl::userMoveTo(int row, int shift)
{
    if (multiSelect_ && (shift & Key::ShiftMask)) {
        const int from = validRow(anchor_) ? anchor_ : (validRow(listIndex_) ? listIndex_ : row);
        selectRangeOnly(from, row);
        anchor_ = from;
    } else if (!(multiSelect_ && (shift & Key::CtrlMask))) {
        selectOnly(row);
        anchor_ = row;
    }
    moveCurrent(row);
}

// --- user input ---

void ListControl::userMouseDown(int row, int button, int shift)
{
    if (!validRow(row))
        row = -1;
    if (button == Mouse::Left && row >= 0) {
        if (multiSelect_ && (shift & Key::ShiftMask)) {
            const int from =
                validRow(anchor_) ? anchor_ : (validRow(listIndex_) ? listIndex_ : row);
            if (shift & Key::CtrlMask)
                setSelectedRange(std::min(from, row), std::max(from, row), true);
            else
                selectRangeOnly(from, row);
            anchor_ = from;
        } else if (multiSelect_ && (shift & Key::CtrlMask)) {
            setRowSelected(row, !isSelected(row));
            anchor_ = row;
        } else {
            selectOnly(row);
            anchor_ = row;
        }
        moveCurrent(row);
    }
    if (events_)
        events_->MouseDown(*this, button, shift, row);
    // As the original list boxes did: so a click on the highlighted topic always shows it.
    if (button == Mouse::Left && events_)
        events_->Click(*this);
}

void ListControl::userPopupKey()
{
    if (events_)
        events_->PopupKey(*this, validRow(listIndex_) ? listIndex_ : -1);
}

void ListControl::userDoubleClick(int /*row*/)
{
    if (events_)
        events_->DblClick(*this);
}

void ListControl::userMouseMove(int row, int button, int shift)
{
    mouseOverRow_ = validRow(row) ? row : -1;
    if (events_)
        events_->MouseMove(*this, button, shift, mouseOverRow_);
}

bool ListControl::userKeyDown(int keyCode, int shift, int pageRows, bool typing)
{
    int code = keyCode;
    int keyShift = shift;
    if (events_)
        events_->KeyDown(*this, code, keyShift);
    if (code == Key::None)
        return true;
    if (typing && code == Key::Space && keyShift == Key::NoShift)
        return false;
    switch (code) {
    case Key::Up:
    case Key::Down:
    case Key::Home:
    case Key::End:
    case Key::PageUp:
    case Key::PageDown:
    case Key::Space:
        break;
    default:
        return false;
    }
    const int count = ListCount();
    if (count == 0)
        return true;
    const int current = listIndex_;
    const int page = std::max(1, pageRows);
    int target = current < 0 ? 0 : current;
    if (current >= 0) {
        switch (code) {
        case Key::Up:
            target = current - 1;
            break;
        case Key::Down:
            target = current + 1;
            break;
        case Key::PageUp:
            target = current - page;
            break;
        case Key::PageDown:
            target = current + page;
            break;
        default:
            break;
        }
    }
    if (code == Key::Home)
        target = 0;
    else if (code == Key::End)
        target = count - 1;
    target = std::clamp(target, 0, count - 1);

    const quint64 oldSelection = selectionChanges_;
    if (code == Key::Space && multiSelect_ && (keyShift & Key::CtrlMask)) {
        setRowSelected(target, !isSelected(target));
        anchor_ = target;
        moveCurrent(target);
    } else {
        // Ctrl alone moves the current row without selecting; Space always selects.
        userMoveTo(target, code == Key::Space ? (keyShift & Key::ShiftMask) : keyShift);
    }
    if ((listIndex_ != current || selectionChanges_ != oldSelection) && events_)
        events_->Click(*this);
    return true;
}

bool ListControl::userKeyboardSearch(const QString &text)
{
    const int count = ListCount();
    if (text.isEmpty() || count == 0)
        return false;
    const bool cycle = isOneRepeatedCharacter(text);
    const QString needle = cycle ? text.left(1) : text;
    const int start = listIndex_ < 0 ? 0 : (cycle ? listIndex_ + 1 : listIndex_);
    int found = -1;
    for (int k = 0; k < count && found < 0; ++k) {
        const int i = (start + k) % count;
        if (firstColumn(rows_[std::size_t(i)].text).startsWith(needle, Qt::CaseInsensitive))
            found = i;
    }
    if (found < 0)
        return false;
    const int oldIndex = listIndex_;
    const quint64 oldSelection = selectionChanges_;
    userMoveTo(found, Key::NoShift);
    if ((listIndex_ != oldIndex || selectionChanges_ != oldSelection) && events_)
        events_->Click(*this);
    return true;
}

} // namespace corvanta

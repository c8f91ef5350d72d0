#include "gui/ListModel.h"

#include "app/Settings.h"
#include "gui/Palette.h"
#include "gui/TargetIcons.h"

#include <QColor>
#include <QFontDatabase>

#include <algorithm>

namespace corvanta {

class ListModel::Follower : public ListControlObserver
{
public:
    explicit Follower(ListModel &model) : model_(model) { }

    void listReset() override { model_.resetAll(); }
    void rowsAboutToBeInserted(int first, int count) override
    {
        model_.beginInsertRows({}, first, first + count - 1);
    }
    void rowsInserted(int, int count) override
    {
        model_.rows_ += count;
        model_.endInsertRows();
    }
    void rowsAboutToBeRemoved(int first, int count) override
    {
        model_.beginRemoveRows({}, first, first + count - 1);
    }
    void rowsRemoved(int, int count) override
    {
        model_.rows_ -= count;
        model_.endRemoveRows();
    }
    void rowsChanged(int first, int last) override { model_.changeRows(first, last); }
    void currentRowChanged(int) override { }
    void appearanceChanged() override { model_.changeAppearance(); }
    void focusRequested() override { }

private:
    ListModel &model_;
};

ListModel::ListModel(ListControl &control, QObject *parent)
    : QAbstractTableModel(parent),
      control_(control),
      rows_(control.ListCount()),
      columns_(control.Columns()),
      font_(toQFont(control.font())),
      follower_(std::make_unique<Follower>(*this))
{
    control_.addObserver(follower_.get());
}

ListModel::~ListModel()
{
    control_.removeObserver(follower_.get());
}

QFont ListModel::toQFont(const ListFont &font)
{
    // The stored default face comes from another desktop: here it shows as the desktop's own
    // sans face.
    static const bool substituted = [] {
        QFont::insertSubstitution(defaultListFont().name,
            QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
        return true;
    }();
    Q_UNUSED(substituted);
    QFont result;
    // The default face at its default size is the desktop's own font, at the desktop's size; a
    // font the user chose stays as chosen.
    const FontSpec standard = defaultListFont();
    const bool desktops = font.name == standard.name && font.size == standard.size;
    if (!font.name.isEmpty() && !desktops)
        result.setFamily(font.name);
    if (font.size > 0 && !desktops)
        result.setPointSizeF(font.size);
    result.setBold(font.bold);
    result.setItalic(font.italic);
    return result;
}

void ListModel::setPalette(const QPalette &palette)
{
    palette_ = palette;
    if (rows_ > 0 && control_.SelCount() > 0)
        emit dataChanged(
            index(0, 0), index(rows_ - 1, columns_ - 1), {Qt::BackgroundRole, Qt::ForegroundRole});
}

namespace {

// The first DisplayedChars characters of text, never ending on half of a surrogate pair.
QStringView shownPart(const QString &text)
{
    QStringView shown = QStringView(text).first(std::min(text.size(), ListModel::DisplayedChars));
    if (shown.size() < text.size() && !shown.isEmpty() && shown.back().isHighSurrogate())
        shown.chop(1);
    return shown;
}

} // namespace

QString ListModel::displayedColumn(const QString &text, int col)
{
    QStringView shown = shownPart(text);
    for (int i = 0; i < col; ++i) {
        const qsizetype tab = shown.indexOf(u'\t');
        if (tab < 0)
            return QString();
        shown = shown.sliced(tab + 1);
    }
    const qsizetype tab = shown.indexOf(u'\t');
    return (tab < 0 ? shown : shown.first(tab)).toString();
}

int ListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int ListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < columnNames_.size()
        && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return columnNames_.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ListModel::flags(const QModelIndex &index) const
{
    // Not selectable: the selection is the list's own and is painted through BackgroundRole.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

QVariant ListModel::data(const QModelIndex &index, int role) const
{
    // While the list's redraw is off its rows may differ from what was announced: stay in range.
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)
        || index.row() >= control_.ListCount())
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return displayedColumn(control_.rowText(row), index.column());
    case Qt::AccessibleDescriptionRole:
        // A pointer's row is described by its target, whether or not the column shows, after
        // its mark.
        if (index.column() == 0 && columns_ > 1) {
            const QString target = displayedColumn(control_.rowText(row), 1);
            const TargetMark *mark = marks_ ? marks_->mark(rowTarget(control_.rowText(row))) : nullptr;
            if (mark && mark->state != TargetState::Exists)
                return markText(mark->state) + QStringLiteral(", ") + target;
            return target;
        }
        return {};
    case Qt::DecorationRole:
        if (marks_ && index.column() == 0) {
            const QString target = rowTarget(control_.rowText(row));
            if (const TargetMark *mark = marks_->mark(target))
                return pointerIcon(mark->kind ? *mark->kind : kindByName(target), mark->state);
            return pointerIcon(kindByName(target), TargetState::Exists);
        }
        return {};
    case Qt::BackgroundRole:
        // The list with the keyboard shows the active highlight, the others the inactive one.
        if (control_.isSelected(row))
            return selectionColours(palette_, control_.hasFocus()).background;
        if (const int rgb = control_.rowBackColour(row); rgb != ListControl::NoColour)
            return rowTint(palette_, rgb);
        return {};
    case Qt::ForegroundRole:
        if (control_.isSelected(row))
            return selectionColours(palette_, control_.hasFocus()).text;
        return {};
    case Qt::FontRole:
        return font_;
    case Qt::ToolTipRole:
        // The list has one tooltip, which its MouseMove handler sets for the row under the mouse.
        if (!control_.toolTip().isEmpty())
            return shownPart(control_.toolTip()).toString();
        return {};
    default:
        return {};
    }
}

void ListModel::resetAll()
{
    beginResetModel();
    rows_ = control_.ListCount();
    columns_ = control_.Columns();
    font_ = toQFont(control_.font());
    endResetModel();
}

void ListModel::changeRows(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, rows_ - 1);
    if (first <= last)
        emit dataChanged(index(first, 0), index(last, columns_ - 1));
}

void ListModel::marksChanged()
{
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, 0),
            {Qt::DecorationRole, Qt::AccessibleDescriptionRole});
}

void ListModel::changeAppearance()
{
    if (control_.Columns() != columns_) {
        resetAll();
        return;
    }
    const QFont font = toQFont(control_.font());
    if (font == font_)
        return;
    font_ = font;
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1), {Qt::FontRole});
}

} // namespace corvanta

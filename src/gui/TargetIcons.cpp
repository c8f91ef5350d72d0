#include "gui/TargetIcons.h"

#include "gui/ListBox.h"
#include "gui/ListModel.h"
#include "gui/Palette.h"

#include <QHash>
#include <QIconEngine>
#include <QMimeDatabase>
#include <QPainter>

namespace corvanta {

namespace {

// Paints an icon with a mark over its lower right corner.
class MarkedIconEngine : public PaintedIconEngine
{
public:
    MarkedIconEngine(QIcon base, QIcon mark) : base_(std::move(base)), mark_(std::move(mark)) { }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        base_.paint(painter, rect, Qt::AlignCenter, mode, state);
        const int side = std::max(6, rect.width() * 3 / 5);
        mark_.paint(painter, QRect(rect.right() + 1 - side, rect.bottom() + 1 - side, side, side));
    }

    QIconEngine *clone() const override { return new MarkedIconEngine(*this); }
    QString key() const override { return QStringLiteral("CorvantaMarkedIcon"); }

private:
    QIcon base_;
    QIcon mark_;
};

QIcon kindIcon(const TargetKind &kind)
{
    struct Bundled
    {
        const char *theme;
        const char *file;
    };
    static const Bundled bundled[] = {
        {"x-office-document", "kind-document"},
        {"folder", "kind-folder"},
        {"application-x-executable", "kind-program"},
        {"text-html", "kind-website"},
        {"mail-message-new", "kind-email"},
    };
    const Bundled &own = bundled[int(kind.kind)];
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(own.theme),
        paletteIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(own.file))));
    if (!kind.mimeType.isEmpty()) {
        static const QMimeDatabase db;
        const QMimeType type = db.mimeTypeForName(kind.mimeType);
        // The type's own icon where the theme has one, else the kind's.
        if (type.isValid())
            icon = QIcon::fromTheme(type.iconName(), icon);
    }
    return icon;
}

} // namespace

QIcon pointerIcon(const TargetKind &kind, TargetState state)
{
    static QHash<QString, QIcon> cache; // the window's thread alone
    const QString key = QString::number(int(kind.kind)) + u'/' + QString::number(int(state))
        + u'/' + kind.mimeType;
    if (const auto it = cache.constFind(key); it != cache.cend())
        return *it;
    QIcon icon = kindIcon(kind);
    if (state != TargetState::Exists)
        icon = QIcon(new MarkedIconEngine(icon,
            QIcon(state == TargetState::Missing ? QStringLiteral(":/icons/mark-missing.svg")
                                                : QStringLiteral(":/icons/mark-unreachable.svg"))));
    cache.insert(key, icon);
    return icon;
}

// --- FileListMarks ---

FileListMarks::FileListMarks(ListBox &list, std::function<QString()> dataFolder)
    : QObject(list.listModel()), list_(list), dataFolder_(std::move(dataFolder))
{
    ListModel *model = list.listModel();
    model->setTargetMarks(&marks_);
    marks_.onMarked = [model] { model->marksChanged(); };
    connect(model, &QAbstractItemModel::modelReset, this, [this] { recheck(false); });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { recheck(true); });
}

void FileListMarks::recheck(bool keep)
{
    const ListControl &control = list_.control();
    QStringList rows;
    rows.reserve(control.ListCount());
    for (int i = 0; i < control.ListCount(); ++i)
        rows.append(control.rowText(i));
    marks_.check(rows, keep, TargetLooker(TargetChecker(dataFolder_())));
    list_.listModel()->marksChanged();
}

} // namespace corvanta

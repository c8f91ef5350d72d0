#include "gui/OpenWithDialog.h"

#include "platform/DesktopEntries.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvanta {

namespace {

enum Role { CommandRole = Qt::UserRole, BrowseRole };

QIcon entryIcon(const QString &icon)
{
    if (QFileInfo(icon).isAbsolute())
        return QIcon(icon);
    return QIcon::fromTheme(icon, QIcon::fromTheme(QStringLiteral("application-x-executable")));
}

} // namespace

OpenWithDialog::OpenWithDialog(const QString &target, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OpenWithDialog"));
    resize(420, 480);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("Choose the program to open:\n%1").arg(target), this);
    label->setWordWrap(true);
    layout->addWidget(label);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("programs"));
    list_->setAccessibleName(QStringLiteral("Programs"));
    list_->setIconSize(QSize(24, 24));
    layout->addWidget(list_);

    const OpenWithOffer offer = DesktopEntries().offerFor(target);
    auto addEntries = [this](const std::vector<DesktopEntry> &found) {
        for (const DesktopEntry &e : found) {
            auto *item =
                new QListWidgetItem(entryIcon(e.icon), e.name.isEmpty() ? e.id : e.name, list_);
            item->setData(CommandRole, e.commandLine());
            item->setToolTip(e.exec);
        }
    };
    if (!offer.registered.empty()) {
        addHeading(offer.address ? QStringLiteral("Programs for this address")
                           : QStringLiteral("Programs for this file type"));
        addEntries(offer.registered);
    }
    if (!offer.noneText.isEmpty())
        addHeading(offer.noneText);
    if (!offer.others.empty()) {
        addHeading(QStringLiteral("Other programs"));
        addEntries(offer.others);
    }
    auto *browse = new QListWidgetItem(
        QIcon::fromTheme(QStringLiteral("document-open")), QStringLiteral("Browse..."), list_);
    browse->setData(BrowseRole, true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    connect(list_, &QListWidget::currentItemChanged, ok, [ok](QListWidgetItem *item) {
        ok->setEnabled(item && item->flags().testFlag(Qt::ItemIsSelectable));
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { choose(list_->currentItem()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(
        list_, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) { choose(item); });

    // A file's own program is the likely choice; for an address the user picks.
    if (offer.preselect)
        list_->setCurrentRow(1);
    else
        list_->setCurrentRow(-1);
}

void OpenWithDialog::addHeading(const QString &text)
{
    auto *item = new QListWidgetItem(text, list_);
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    item->setFlags(Qt::ItemIsEnabled); // a heading cannot be chosen
}

void OpenWithDialog::choose(QListWidgetItem *item)
{
    if (!item || !item->flags().testFlag(Qt::ItemIsSelectable))
        return;
    if (item->data(BrowseRole).toBool()) {
        const QString program =
            QFileDialog::getOpenFileName(this, QStringLiteral("Choose a Program"), QStringLiteral("/usr/bin"));
        if (program.isEmpty())
            return;
        command_ = DesktopEntries::quoteArgument(program);
    } else {
        command_ = item->data(CommandRole).toString();
    }
    if (!command_.isEmpty())
        accept();
}

} // namespace corvanta

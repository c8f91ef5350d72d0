#include "gui/AccessoryDialogs.h"

#include "app/About.h"
#include "app/Calendar.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvanta {

CalendarDialog::CalendarDialog(Calendar &calendar, QWidget *parent) : QDialog(parent), core_(calendar)
{
    setObjectName(QStringLiteral("frmCalendar"));
    setWindowTitle(Calendar::caption());
    calendar_ = new QCalendarWidget(this);
    calendar_->setObjectName(QStringLiteral("Calendar1"));
    calendar_->setAccessibleName(QStringLiteral("Calendar"));
    // The days are a table of the calendar's own, which the keys move in.
    if (auto *days = calendar_->findChild<QAbstractItemView *>())
        days->setAccessibleName(QStringLiteral("Days"));
    calendar_->setGridVisible(true);
    previous_ = new QPushButton(Calendar::previousMonthCaption(), this);
    previous_->setObjectName(QStringLiteral("cmdPreviousMonth"));
    previous_->setToolTip(Calendar::previousMonthTooltip());
    next_ = new QPushButton(Calendar::nextMonthCaption(), this);
    next_->setObjectName(QStringLiteral("cmdNextMonth"));
    next_->setToolTip(Calendar::nextMonthTooltip());
    // Enter belongs to the calendar, not to a default button.
    previous_->setAutoDefault(false);
    next_->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(previous_);
    buttons->addStretch();
    buttons->addWidget(next_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(calendar_);
    layout->addLayout(buttons);

    connect(previous_, &QPushButton::clicked, this, [this] { core_.cmdPreviousMonth_Click(); });
    connect(next_, &QPushButton::clicked, this, [this] { core_.cmdNextMonth_Click(); });
    connect(calendar_, &QCalendarWidget::currentPageChanged, this,
        [this](int year, int month) { core_.Calendar1_PageChanged(year, month); });
    connect(calendar_, &QCalendarWidget::selectionChanged, this,
        [this] { core_.Calendar1_Click(calendar_->selectedDate()); });
    core_.onChanged = [this] { follow(); };
    follow();
}

CalendarDialog::~CalendarDialog()
{
    core_.onChanged = nullptr;
}

void CalendarDialog::follow()
{
    // The marked day first: marking a day also turns to its month.
    if (calendar_->selectedDate() != core_.selectedDate())
        calendar_->setSelectedDate(core_.selectedDate());
    const QDate month = core_.shownMonth();
    if (calendar_->yearShown() != month.year() || calendar_->monthShown() != month.month())
        calendar_->setCurrentPage(month.year(), month.month());
    if (core_.focus() == Calendar::Control::Calendar1)
        calendar_->setFocus(Qt::OtherFocusReason);
}

AboutDialog::AboutDialog(About &about, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(About::caption());
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(QPixmap(QStringLiteral(":/corvanta.png")));
    picture->setAlignment(Qt::AlignTop);

    auto *name = new QLabel(About::lblCorvanta(), this);
    name->setObjectName(QStringLiteral("lblCorvanta"));
    QFont heavy = name->font();
    heavy.setFamilies({QStringLiteral("Arial Black"), heavy.family()});
    heavy.setWeight(QFont::Black);
    heavy.setPointSizeF(heavy.pointSizeF() * 2);
    name->setFont(heavy);
    auto *copyright = new QLabel(about.lblCopyRite, this);
    copyright->setObjectName(QStringLiteral("lblCopyRite"));
    QFont bold = copyright->font();
    bold.setBold(true);
    copyright->setFont(bold);
    auto *qt = new QLabel(about.lblQtVersion, this);
    qt->setObjectName(QStringLiteral("lblQtVersion"));
    auto *folder = new QLabel(about.lblDataFolder, this);
    folder->setObjectName(QStringLiteral("lblDataFolder"));
    folder->setTextFormat(Qt::PlainText);
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folder->setWordWrap(true);

    auto *ok = new QPushButton(About::cmdExitCaption(), this);
    ok->setObjectName(QStringLiteral("cmdExit"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this, &about] {
        about.cmdExit_Click();
        accept();
    });

    auto *texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(copyright);
    texts->addSpacing(8);
    texts->addWidget(qt);
    texts->addWidget(folder);
    texts->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
}

} // namespace corvanta

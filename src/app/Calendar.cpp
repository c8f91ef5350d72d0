#include "app/Calendar.h"

#include "platform/Clock.h"

namespace corvanta {

Calendar::Calendar(Clock &clock) : clock_(clock) {}

QString Calendar::caption() { return QStringLiteral(" Calendar"); }
QString Calendar::previousMonthCaption() { return QStringLiteral("<"); }
QString Calendar::previousMonthTooltip() { return QStringLiteral(" Previous Month "); }
QString Calendar::nextMonthCaption() { return QStringLiteral(">"); }
QString Calendar::nextMonthTooltip() { return QStringLiteral(" Next Month "); }

void Calendar::Form_Load()
{
    selected_ = clock_.now().date();
    month_ = QDate(selected_.year(), selected_.month(), 1);
    focus_ = Control::Calendar1;
    changed();
}

void Calendar::turn(int months)
{
    // Whole months from the first day: no day of month to run out of.
    month_ = month_.addMonths(months);
    focus_ = Control::Calendar1;
    changed();
}

void Calendar::cmdPreviousMonth_Click() { turn(-1); }

void Calendar::cmdNextMonth_Click() { turn(1); }

void Calendar::Calendar1_PageChanged(int year, int month)
{
    const QDate first(year, month, 1);
    if (!first.isValid() || first == month_)
        return;
    month_ = first;
    changed();
}

void Calendar::Calendar1_Click(const QDate &date)
{
    if (!date.isValid() || date == selected_)
        return;
    selected_ = date;
    month_ = QDate(date.year(), date.month(), 1);
    changed();
}

} // namespace corvanta

#pragma once

#include <QDate>
#include <QString>

#include <functional>

namespace corvanta {

class Clock;

// The calendar window frmCalendar: a month calendar that opens on today, and two buttons that
// turn it a month back or on and hand the focus back to the calendar. It stores nothing.
class Calendar
{
public:
    enum class Control { Calendar1, cmdPreviousMonth, cmdNextMonth };

    explicit Calendar(Clock &clock);

    static QString caption();
    static QString previousMonthCaption();
    static QString previousMonthTooltip();
    static QString nextMonthCaption();
    static QString nextMonthTooltip();

    // The day marked and the month shown (its first day).
    QDate selectedDate() const { return selected_; }
    QDate shownMonth() const { return month_; }
    Control focus() const { return focus_; }

    void Form_Load();
    void cmdPreviousMonth_Click();
    void cmdNextMonth_Click();
    // The user turned the calendar's own page or picked a day in it.
    void Calendar1_PageChanged(int year, int month);
    void Calendar1_Click(const QDate &date);

    std::function<void()> onChanged;

private:
    Clock &clock_;
    QDate selected_;
    QDate month_;
    Control focus_ = Control::Calendar1;

    void turn(int months);
    void changed()
    {
        if (onChanged)
            onChanged();
    }
};

} // namespace corvanta

#pragma once

#include <QDialog>

class QCalendarWidget;
class QPushButton;

namespace corvanta {

class About;
class Calendar;

// frmCalendar over its core state: the month calendar and its "<" and ">" buttons.
class CalendarDialog : public QDialog
{
    Q_OBJECT

public:
    CalendarDialog(Calendar &calendar, QWidget *parent = nullptr);
    ~CalendarDialog() override;

    QCalendarWidget *calendar() const { return calendar_; }
    QPushButton *previousButton() const { return previous_; }
    QPushButton *nextButton() const { return next_; }

private:
    Calendar &core_;
    QCalendarWidget *calendar_ = nullptr;
    QPushButton *previous_ = nullptr;
    QPushButton *next_ = nullptr;

    void follow();
};

// frmAbout over its core state.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    AboutDialog(About &about, QWidget *parent = nullptr);
};

} // namespace corvanta

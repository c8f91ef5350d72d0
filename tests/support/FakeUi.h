#pragma once

#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"

#include <QString>
#include <QStringList>

#include "support/QtPrinters.h"

#include <deque>
#include <functional>
#include <vector>

namespace corvanta::test {

struct ShownBox {
    QString text;
    QString title;
    int flags = 0;
};

struct ShownInput {
    QString prompt;
    QString title;
    QString preset;
    int left = 0;
    int top = 0;
};

// Answers message boxes and input boxes from a script and records everything it was asked.
class FakeUi : public Ui {
public:
    std::vector<ShownBox> boxes;
    std::deque<int> answers;        // next msgBox answers; when empty: Ok / Yes by default button
    // When set, a box with only OK takes no scripted answer: the answers are for the questions,
    // whatever refusals come between.
    bool answersForQuestionsOnly = false;
    std::vector<ShownInput> inputs;
    std::deque<QString> typed;      // next inputBox results; when empty: ""
    int beeps = 0;
    int busyDepth = 0;
    int pumps = 0;
    std::function<void()> onPump;
    std::vector<QString> popups;                          // menus shown, in order
    std::function<void(const QString &)> onPopup;         // plays the user's choice

    int msgBox(const QString &text, const QString &title, int flags) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &preset,
                     int leftTwips, int topTwips) override;
    void beep() override { ++beeps; }
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    void pumpEvents() override;
    void showPopupMenu(const QString &menuName) override
    {
        popups.push_back(menuName);
        if (onPopup)
            onPopup(menuName);
    }
    int popupX = -1, popupY = -1;                        // where the last placed popup went
    void showPopupMenuAt(const QString &menuName, int xTwips, int yTwips) override
    {
        popupX = xTwips;
        popupY = yTwips;
        showPopupMenu(menuName);
    }

    std::vector<QString> chooserTargets;                   // Open With choosers shown, by target
    std::deque<QString> programChoices;                    // their answers; when empty: cancelled
    QString chooseProgram(const QString &target, const QString &) override
    {
        chooserTargets.push_back(target);
        if (programChoices.empty())
            return QString();
        QString choice = programChoices.front();
        programChoices.pop_front();
        return choice;
    }

    // The last box shown. With none shown the test fails (and reads an empty box), rather than
    // the test program crashing on the box it expected.
    const ShownBox *lastBox() const;
    QStringList titles() const
    {
        QStringList out;
        for (const ShownBox &box : boxes)
            out << box.title;
        return out;
    }
};

class FakeClock : public Clock {
public:
    QDateTime fixed = QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0));
    double secs = 0;
    int pausedMs = 0;
    QDateTime now() const override { return fixed; }
    double seconds() const override { return secs; }
    void pause(int ms) override { pausedMs += ms; secs += ms / 1000.0; }
};

} // namespace corvanta::test

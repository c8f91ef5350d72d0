#pragma once

#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"

#include "support/QtPrinters.h"

#include <QStringList>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
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
    // Queued for runEvents; onPost runs first, on the posting thread (a test may hold it there).
    void post(std::function<void()> task) override;
    std::function<void()> onPost;
    // Plays the window's event loop until done() holds: before each turn onPump runs, as the
    // user's events would, then the next posted task, waited for when none is queued yet.
    // Waiting longer than a few seconds fails the test.
    void runEvents(const std::function<bool()> &done);
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
        return takeFront(programChoices, QString());
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

private:
    // The next scripted answer, or otherwise when the script is used up.
    template<typename T>
    static T takeFront(std::deque<T> &script, T otherwise)
    {
        if (!script.empty()) {
            otherwise = std::move(script.front());
            script.pop_front();
        }
        return otherwise;
    }

    std::mutex postedMutex_;
    std::condition_variable postedReady_;
    std::deque<std::function<void()>> posted_;
};

class FakeClock : public Clock {
public:
    QDateTime fixed = QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0));
    double secs = 0;
    int timerMs = 0; // the time the timers fired by runTimers waited, added up
    QDateTime now() const override { return fixed; }
    double seconds() const override { return secs; }
    void pause(int ms) override { secs += ms / 1000.0; }
    void singleShot(int ms, std::function<void()> task) override
    {
        timers.push_back({secs + ms / 1000.0, std::move(task)});
    }
    // Lets the time pass until no timer is left, firing each when its time comes.
    void runTimers()
    {
        while (!timers.empty()) {
            auto next = std::min_element(timers.begin(), timers.end(),
                [](const Timer &a, const Timer &b) { return a.due < b.due; });
            const Timer timer = *next;
            timers.erase(next);
            if (timer.due > secs) {
                timerMs += int((timer.due - secs) * 1000 + 0.5);
                secs = timer.due;
            }
            timer.task();
        }
    }
    struct Timer
    {
        double due;
        std::function<void()> task;
    };
    std::vector<Timer> timers;
};

} // namespace corvanta::test

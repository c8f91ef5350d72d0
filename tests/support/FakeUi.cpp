#include "support/FakeUi.h"

#include <gtest/gtest.h>

namespace corvanta::test {

int FakeUi::msgBox(const QString &text, const QString &title, int flags)
{
    boxes.push_back({text, title, flags});
    if (answersForQuestionsOnly && MsgBox::buttonsOf(flags) == MsgBox::OkOnly)
        return MsgBox::Ok;
    if (!answers.empty())
        return takeFront(answers, 0);
    switch (MsgBox::buttonsOf(flags)) {
    case MsgBox::YesNo:
    case MsgBox::YesNoCancel:
        return (flags & MsgBox::DefaultButton2) ? MsgBox::No : MsgBox::Yes;
    case MsgBox::OkCancel:
        return (flags & MsgBox::DefaultButton2) ? MsgBox::Cancel : MsgBox::Ok;
    default:
        return MsgBox::Ok;
    }
}

QString FakeUi::inputBox(const QString &prompt, const QString &title, const QString &preset,
                         int leftTwips, int topTwips)
{
    inputs.push_back({prompt, title, preset, leftTwips, topTwips});
    return takeFront(typed, QString());
}

const ShownBox *FakeUi::lastBox() const
{
    if (!boxes.empty())
        return &boxes.back();
    ADD_FAILURE() << "no message box was shown";
    static const ShownBox none;
    return &none;
}

void FakeUi::post(std::function<void()> task)
{
    if (onPost)
        onPost();
    {
        std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(task));
    }
    postedReady_.notify_one();
}

void FakeUi::runEvents(const std::function<bool()> &done)
{
    while (!done()) {
        ++pumps;
        if (onPump)
            onPump();
        if (done())
            return;
        std::function<void()> task;
        {
            std::unique_lock lock(postedMutex_);
            if (!postedReady_.wait_for(
                    lock, std::chrono::seconds(10), [this] { return !posted_.empty(); })) {
                ADD_FAILURE() << "nothing was posted to the window's thread";
                return;
            }
            task = std::move(posted_.front());
            posted_.pop_front();
        }
        task();
    }
}

void FakeUi::pumpEvents()
{
    ++pumps;
    if (onPump)
        onPump();
}

} // namespace corvanta::test

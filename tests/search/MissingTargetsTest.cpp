#include "search/MissingTargets.h"

#include "platform/MsgBox.h"
#include "support/FormFixture.h"

#include <QElapsedTimer>

#include <future>

namespace corvanta::test {
namespace {

TEST(TargetCheckerTest, existingMissingAndNotReachable)
{
    TempFolder data;
    data.write(u"there.txt"_s, "x");
    data.write(u"media/usb/in.txt"_s, "x");
    QDir().mkpath(data.file(u"media/empty"_s));
    const QString media = data.file(u"media"_s);
    // media/usb is a mounted drive; media/empty a drive that is not mounted.
    const TargetChecker checker(data.path(), {u"/"_s, media + u"/usb"_s}, {media});
    const struct
    {
        QString target;
        TargetState state;
    } cases[] = {
        {data.file(u"there.txt"_s), TargetState::Exists},
        {u"there.txt"_s, TargetState::Exists}, // from the data folder
        {data.file(u"gone.txt"_s), TargetState::Missing},
        {data.file(u"there.txt/below"_s), TargetState::Missing},
        {media + u"/usb/in.txt"_s, TargetState::Exists},
        {media + u"/usb/gone.txt"_s, TargetState::Missing},
        {media + u"/empty/file.txt"_s, TargetState::NotReachable},
        {media + u"/absent/deep/file.txt"_s, TargetState::NotReachable},
        {media + u"/usb/../empty/x"_s, TargetState::NotReachable},
        {media + u"x/file.txt"_s, TargetState::Missing}, // beside the media folder, not in it
    };
    for (const auto &c : cases)
        EXPECT_EQ(checker.state(c.target), c.state) << c.target.toStdString();
}

class MissingTargetsTest : public FormFixture
{
protected:
    QString there, media;
    QByteArray zeta;

    void SetUp() override
    {
        data.write(u"docs/there.txt"_s, "x");
        there = data.file(u"docs/there.txt"_s);
        media = data.file(u"media"_s);
        data.write(u"Project.List"_s, "Alpha\r\n");
        data.write(u"Projects/Alpha/Alpha.List"_s, "Zeta\r\nOther\r\n");
        zeta = "Here\t" + there.toUtf8() + "\r\n"
               "Gone One\t/no/such/one.txt\r\n"
               "  Site\thttp://example.com/none\r\n"
               "Usb File\t" + media.toUtf8() + "/usb/f.txt\r\n"
               "Gone Two \t/no/such/two.txt\r\n"
               "Mail\tmailto:x@example.com\r\n";
        data.write(u"Projects/Alpha/Zeta.Files"_s, zeta);
        data.write(u"Projects/Alpha/Other.Files"_s, "Gone Three\tmissing/three.txt\r\nKept\tdocs/there.txt\r\n");
        start();
        program->checkMissingTargets().setChecker([this](const QString &folder) {
            return TargetChecker(folder, {u"/"_s}, {media});
        });
    }

    struct Shown
    {
        QStringList rows;
        int checked = 0;
    };
    // Opens the window; act plays the user in it.
    Shown check(const std::function<void(MissingTargets &)> &act = {})
    {
        Shown shown;
        ui.onMissingTargets = [&](MissingTargets &window) {
            shown.checked = window.checkedCount();
            for (const auto &row : window.rows())
                shown.rows << row.place.name() + u" @ "_s + row.place.where() + u" : "_s
                        + MissingTargets::stateText(row.state);
            if (act)
                act(window);
        };
        form->run(u"mnuCheckMissingTargets"_s);
        return shown;
    }
    static void select(MissingTargets &window, std::initializer_list<int> rows)
    {
        for (int row : rows)
            window.setSelected(row, true);
    }
};

// Go To opens the pointer's topic with the pointer current.
TEST_F(MissingTargetsTest, listsMissingAndNotReachableFilePointersOnly_andGoToOpensOne)
{
    const Shown shown = check([](MissingTargets &window) { window.goTo(3); });
    EXPECT_EQ(shown.checked, 6);
    EXPECT_EQ(shown.rows, (QStringList {u"Gone One @ Alpha / Zeta : missing"_s,
                              u"Usb File @ Alpha / Zeta : not reachable"_s,
                              u"Gone Two @ Alpha / Zeta : missing"_s,
                              u"Gone Three @ Alpha / Other : missing"_s}));
    EXPECT_EQ(form->state.CurrentTopic, u"Other"_s);
    EXPECT_EQ(files().rowText(files().ListIndex()), u"Gone Three\tmissing/three.txt"_s);
}

TEST_F(MissingTargetsTest, removeSelected_asksOnceAndKeepsEveryOtherLineByteForByte)
{
    ASSERT_TRUE(form->navigation().openPlace({u"Alpha"_s, u"Zeta"_s, QString()})); // Zeta is on screen
    ASSERT_EQ(files().ListCount(), 6);
    ui.answers = {MsgBox::Yes};
    check([](MissingTargets &window) {
        select(window, {0, 1, 2, 3}); // the not-reachable one is not removed with them
        EXPECT_EQ(window.removeSelected().size(), 2);
        EXPECT_EQ(window.rows().size(), 1u);
    });
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].title, u" Remove Missing Pointers"_s);
    EXPECT_EQ(ui.boxes[0].text, u"Do You Want To Remove The Selected 3 Pointers\rWhose Targets Are "
                                u"Missing From Their File List?     \r"_s);
    EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::Question | MsgBox::DefaultButton2);
    EXPECT_EQ(ui.boxes[1].text, u"3 Pointers Were Removed.     \r"_s);
    EXPECT_EQ(data.read(u"Projects/Alpha/Zeta.Files"_s),
        "Here\t" + there.toUtf8() + "\r\n  Site\thttp://example.com/none\r\nUsb File\t"
            + media.toUtf8() + "/usb/f.txt\r\nMail\tmailto:x@example.com\r\n");
    EXPECT_EQ(data.read(u"Projects/Alpha/Other.Files"_s), QByteArray("Kept\tdocs/there.txt\r\n"));
    EXPECT_EQ(files().ListCount(), 4); // the File List shown follows its file
}

TEST_F(MissingTargetsTest, answersAndFailures_changeNothingTheyShouldNot)
{
    const QByteArray other = data.read(u"Projects/Alpha/Other.Files"_s);
    // No: nothing changes. Nothing selected: a beep, no question.
    ui.answers = {MsgBox::No};
    check([](MissingTargets &window) {
        EXPECT_TRUE(window.removeSelected().isEmpty());
        select(window, {0});
        EXPECT_TRUE(window.removeSelected().isEmpty());
        EXPECT_EQ(window.rows().size(), 4u);
    });
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(data.read(u"Projects/Alpha/Zeta.Files"_s), zeta);

    // Only a not-reachable one selected: its own question.
    ui.boxes.clear();
    ui.answers = {MsgBox::Yes};
    check([](MissingTargets &window) {
        select(window, {1});
        window.removeSelected();
    });
    EXPECT_EQ(ui.boxes.front().title, u" Remove Unreachable Pointers"_s);
    EXPECT_FALSE(data.read(u"Projects/Alpha/Zeta.Files"_s).contains("Usb File"));

    // A target that came back since the check stays; an unwritable file is reported.
    ui.boxes.clear();
    ui.answers = {MsgBox::Yes};
    check([&](MissingTargets &window) {
        select(window, {0, 2});
        data.write(u"missing/three.txt"_s, "back");
        QFile::remove(data.file(u"Projects/Alpha/Zeta.Files"_s));
        QDir().mkpath(data.file(u"Projects/Alpha/Zeta.Files"_s));
        EXPECT_TRUE(window.removeSelected().isEmpty());
        EXPECT_EQ(window.rows().size(), 3u);
    });
    EXPECT_EQ(ui.boxes[1].title, u" File Not Saved"_s);
    EXPECT_EQ(ui.boxes.back().text, u"0 Pointers Were Removed.     \r"_s);
    EXPECT_EQ(data.read(u"Projects/Alpha/Other.Files"_s), other);
}

// A target whose check does not come back (a stopped mount) holds up neither the rows before it
// nor the window: Close returns at once, and the check left behind touches nothing freed.
TEST_F(MissingTargetsTest, blockedTarget_rowsBeforeItShowAndCloseReturnsAtOnce)
{
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    program->checkMissingTargets().setChecker([this, released](const QString &folder) -> TargetCheck {
        return [real = TargetChecker(folder, {u"/"_s}, {media}), released](const QString &target) {
            if (target.endsWith(u"two.txt"_s)) // the fourth file pointer
                released.wait_for(std::chrono::seconds(5));
            return real.state(target);
        };
    });
    ui.awaitCheck = false;
    QElapsedTimer elapsed;
    elapsed.start();
    QStringList rows;
    check([&](MissingTargets &window) {
        while (window.checkedCount() < 3 && window.update(std::chrono::seconds(2))) { }
        EXPECT_FALSE(window.update(std::chrono::milliseconds(50)));
        EXPECT_TRUE(window.checking());
        for (const auto &row : window.rows())
            rows << row.place.name();
        window.close();
        EXPECT_FALSE(window.checking());
    });
    EXPECT_LT(elapsed.elapsed(), 1500); // rows before the hanging target came without its wait
    EXPECT_EQ(rows, (QStringList {u"Gone One"_s, u"Usb File"_s}));
    release.set_value(); // the thread ends on its own, after the window's memory is gone
}

} // namespace
} // namespace corvanta::test

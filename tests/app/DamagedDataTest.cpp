#include "editor/PointerEditor.h"
#include "platform/MsgBox.h"
#include "store/OwnFiles.h"
#include "support/FileSystemFaults.h"
#include "support/FormFixture.h"

#include <sys/stat.h>

namespace corvanta::test {
namespace {

// A data folder damaged by hand, by a crash or by another program: the program starts, shows
// what it can, and never replaces what it could not read.
class DamagedDataTest : public FormFixture {
protected:
    void fifo(const QString &relative)
    {
        QDir().mkpath(QFileInfo(data.file(relative)).absolutePath());
        ASSERT_EQ(::mkfifo(QFile::encodeName(data.file(relative)).constData(), 0666), 0);
    }
    bool isFifo(const QString &relative) const
    {
        struct stat st {};
        return ::lstat(QFile::encodeName(data.file(relative)).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
    }
    void addWebsite()
    {
        ui.onPointerEditor = [](PointerEditor &e) {
            e.setText(e.txtInternetAddress, u"example.com"_s);
            e.setText(e.txtPointerName, u"Example"_s);
            e.cmdSave_Click();
        };
        form->run(u"AddWebsite"_s);
    }
    QStringList titles() const { return ui.titles(); }
};

// FIFOs in place of the settings file, the Project List and a topic's file: nothing blocks, the
// lists show empty, each list save is refused and the settings failure is told once.
TEST_F(DamagedDataTest, fifosInPlaceOfFiles_neverBlock_andAreNeverReplaced)
{
    fifo(u"Corvanta.Ini"_s);
    fifo(u"Project.List"_s);
    fifo(u"Projects/Inbox.Files"_s);
    data.write(u"Project.Topics"_s, "Inbox\r\n");
    ui.typed.push_back(u"Ann"_s);
    make();
    form->Form_Load();
    EXPECT_EQ(titles(), QStringList{u" Settings Not Saved"_s});
    EXPECT_TRUE(ui.boxes[0].text.contains(u"The file could not be read, so it is not replaced."_s));
    EXPECT_EQ(projects().ListCount(), 0);

    topics().userMouseDown(1, 1, 0);
    EXPECT_EQ(form->state.FileListPath, data.file(u"Projects/Inbox.Files"_s));
    EXPECT_EQ(files().ListCount(), 0);
    form->run(u"mnuSortNoSortFiles"_s);
    addWebsite();
    ui.onPointerEditor = nameDialog(u"Gamma"_s, false);
    form->run(u"CreateNewProject"_s);
    EXPECT_EQ(titles(), (QStringList{u" Settings Not Saved"_s, u" File Not Saved"_s, u" File Not Saved"_s}));
    form->Form_Unload();
    EXPECT_EQ(ui.boxes.size(), 3u);
    for (const QString &name : {u"Corvanta.Ini"_s, u"Project.List"_s, u"Projects/Inbox.Files"_s})
        EXPECT_TRUE(isFifo(name)) << name.toStdString();
}

// A settings file that cannot be written: the first failed write of the run says so with the
// system's reason, later ones are quiet, and the next run tells again.
TEST_F(DamagedDataTest, readOnlySettings_toldOncePerRun)
{
    data.write(u"Project.List"_s, "Alpha\r\n");
    setIni(u"User"_s, u"Name"_s, u"Ann"_s);
    setIni(u"Startup Window"_s, u"Display Window"_s, u"False"_s);
    ASSERT_TRUE(QFile::setPermissions(data.file(u"Corvanta.Ini"_s), QFile::ReadOwner));
    const QByteArray before = data.read(u"Corvanta.Ini"_s);
    for (int run = 0; run < 2; ++run) {
        ui.boxes.clear();
        make();
        form->Form_Load(); // writes the missing font keys
        form->run(u"mnuSortDescendingProjects"_s);
        form->Form_Unload();
        ASSERT_EQ(titles(), QStringList{u" Settings Not Saved"_s});
        EXPECT_EQ(ui.boxes[0].text, u"The Settings File  ["_s + data.file(u"Corvanta.Ini"_s)
                                        + u"]  Could Not Be Saved.     \rPermission denied\r"
                                          u"Changed Settings Are Not Kept For The Next Start.     \r"_s);
    }
    EXPECT_EQ(data.read(u"Corvanta.Ini"_s), before);
}

// A hand-edited name of 200,000 characters is refused at once, its box showing 200 of them.
TEST_F(DamagedDataTest, hugeName_isRefusedWithItsFirst200Characters)
{
    const QByteArray name = QByteArray(100000, 'a') + '/' + QByteArray(99999, 'b');
    data.write(u"Project.List"_s, name + "\r\nAlpha\r\n");
    start();
    doubleClick(projects(), 0);
    ASSERT_EQ(titles(), QStringList{u" Invalid Input"_s});
    EXPECT_TRUE(ui.boxes[0].text.startsWith(u"The Name  ["_s + QString(200, u'A') + u"...]  Cannot Be Used"_s));
    EXPECT_LT(ui.boxes[0].text.size(), 400);
}

} // namespace
} // namespace corvanta::test

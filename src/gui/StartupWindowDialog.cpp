#include "gui/StartupWindowDialog.h"

#include "app/StartupWindow.h"
#include "gui/QtUi.h"
#include "platform/Keys.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvanta {

StartupWindowDialog::StartupWindowDialog(StartupWindow &window, QWidget *parent)
    : QDialog(parent), window_(window)
{
    setWindowTitle(window.caption());
    setObjectName(QStringLiteral("frmStartupWindow"));

    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *picture = new QLabel(frame);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(QPixmap(QStringLiteral(":/corvanta.png")));
    picture->setAlignment(Qt::AlignTop);
    auto *gettingStarted = new QLabel(QtUi::displayText(window.lblGettingStarted), frame);
    gettingStarted->setObjectName(QStringLiteral("lblGettingStarted"));
    auto *defaultScreen = new QLabel(QtUi::displayText(window.lblDefaultScreen), frame);
    defaultScreen->setObjectName(QStringLiteral("lblDefaultScreen"));
    QFont bold = defaultScreen->font();
    bold.setBold(true);
    defaultScreen->setFont(bold);

    auto *texts = new QVBoxLayout;
    texts->addWidget(gettingStarted);
    texts->addSpacing(8);
    texts->addWidget(defaultScreen);
    texts->addStretch();
    auto *frameLayout = new QHBoxLayout(frame);
    frameLayout->addWidget(picture);
    frameLayout->addSpacing(12);
    frameLayout->addLayout(texts);

    chkHideWindow_ = new QCheckBox(window.chkHideWindowCaption(), this);
    chkHideWindow_->setObjectName(QStringLiteral("chkHideWindow"));
    chkHideWindow_->setChecked(window.chkHideWindow);
    auto *ok = new QPushButton(window.okButtonCaption(), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        window_.OKButton_Click();
        accept();
    });

    auto *manual = new QPushButton(window.cmdUserManualCaption(), this);
    manual->setObjectName(QStringLiteral("cmdUserManual"));
    manual->setAutoDefault(false);
    connect(manual, &QPushButton::clicked, this, [this] {
        window_.cmdUserManual_Click();
        accept();
    });

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(chkHideWindow_);
    bottom->addStretch();
    bottom->addWidget(manual);
    bottom->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(bottom);
}

void StartupWindowDialog::keyPressEvent(QKeyEvent *event)
{
    int code = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        code = Key::Return;
    else if (event->key() == Qt::Key_Escape)
        code = Key::Escape;
    if (code != 0) {
        window_.Form_KeyDown(code);
        if (window_.closed()) {
            accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void StartupWindowDialog::done(int result)
{
    // Every way of closing stores the check box: the button, Enter, Escape, the close box.
    if (!unloaded_) {
        unloaded_ = true;
        window_.chkHideWindow = chkHideWindow_->isChecked();
        window_.Form_Unload();
    }
    QDialog::done(result);
}

} // namespace corvanta

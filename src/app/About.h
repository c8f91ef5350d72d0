#pragma once

#include <QString>

namespace corvanta {

// The about box frmAbout: the product's name, its version and copyright line, the Qt version the
// program runs on and the data folder it works in.
class About
{
public:
    explicit About(const QString &dataFolder);

    static QString caption();
    static QString lblCorvanta();
    static QString cmdExitCaption();
    QString lblCopyRite;
    QString lblQtVersion;
    QString lblDataFolder;
    bool closed() const { return closed_; }

    void Form_Load();
    void cmdExit_Click() { closed_ = true; }

private:
    QString dataFolder_;
    bool closed_ = false;
};

} // namespace corvanta

#pragma once

#include <QDialog>

class QListWidget;
class QListWidgetItem;

namespace corvanta {

// The Open With chooser: the applications registered for the target's type first, then every
// other application, then "Browse..." for any program. command() is the choice's command line.
class OpenWithDialog : public QDialog
{
    Q_OBJECT
public:
    explicit OpenWithDialog(const QString &target, QWidget *parent = nullptr);

    QString command() const { return command_; }

private:
    QListWidget *list_;
    QString command_;

    void addHeading(const QString &text);
    void choose(QListWidgetItem *item);
};

} // namespace corvanta

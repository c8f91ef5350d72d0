#pragma once

#include "platform/FileDialogs.h"

class QWidget;

namespace corvanta {

// Open-file dialogs through QFileDialog, over the main window.
class QtFileDialogs : public FileDialogs
{
public:
    QStringList getOpenFileNames(const OpenFileRequest &request) override;

    // The filter text QFileDialog takes: the entry's name with its patterns; when the name does
    // not end in exactly those patterns they follow it, to be hidden from the user.
    static QString filterText(const FileFilter &filter);

    QWidget *parent = nullptr; // nullptr: the active window
};

} // namespace corvanta

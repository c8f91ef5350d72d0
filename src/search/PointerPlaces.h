#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace corvanta {

// One pointer file of the data folder and the place whose File List it is.
struct PointerFile
{
    QString project; // "" for the entry screen
    QString topic;   // "" for the " ..." row's own list
    QString path;
};

// One pointer where it lives: its line as the File List shows it (spaces trimmed, TABs kept).
struct PointerPlace
{
    const PointerFile *file = nullptr;
    QString record;

    QString name() const;   // the text before the first TAB
    QString target() const; // the text after it, spaces trimmed
    // "Project / Topic", "Project" for a project's own list, "Entry Screen" (and
    // "Entry Screen / Topic" for the entry screen's topics).
    QString where() const;
};

// Every pointer file of the data folder: the entry screen's own list and its topics, then each
// project's own list and its topics, in the lists' file order. Names that cannot be files, the
// marker row and repeated names are skipped; nothing is created.
std::vector<PointerFile> pointerFiles(const QString &dataFolder);

// Every pointer of files, in file order; a missing or unreadable file gives none. The files
// must outlive the places.
std::vector<PointerPlace> readPointers(const std::vector<PointerFile> &files);

class Operations;
struct SharedState;

// Opens place's project and topic in the main window with its pointer current (OpenPlace);
// false when the project or topic has gone from its list.
bool openPlace(Operations &operations, SharedState &state, const PointerPlace &place);

} // namespace corvanta

#pragma once

#include "platform/TextBlocks.h"
#include "store/ListFiles.h"

#include <QString>

#include <memory>
#include <vector>

namespace corvanta {

class ListNavigation;

// One pointer file of the data folder and the place whose File List it is.
struct PointerFile
{
    QString project; // "" for the entry screen
    QString topic;   // "" for the " ..." row's own list
    QString path;
    ListContent content; // once read
};

// One pointer where it lives: a line of its file's content, spaces trimmed, TABs kept, as the
// File List shows it. Kept as a place in the content, so 100,000 pointers cost no string each.
struct PointerPlace
{
    const PointerFile *file = nullptr;
    qsizetype offset = 0;
    qsizetype length = 0;

    QString record() const;
    QString name() const;   // the text before the first TAB, spaces trimmed
    QString target() const; // the text after it, spaces trimmed
    // "Project / Topic", "Project" for a project's own list, "Entry Screen" (and
    // "Entry Screen / Topic" for the entry screen's topics).
    QString where() const;
};

// Every pointer file of the data folder: the entry screen's own list and its topics, then each
// project's own list and its topics, in the lists' file order. Names that cannot be files, the
// marker row and repeated names are skipped; nothing is created or read yet.
std::vector<PointerFile> pointerFiles(Store &store, const QString &dataFolder);

// Reads files and gives every pointer of them, in file order; a missing or unreadable file
// gives none. The files' content is kept in blocks; blocks and files must outlive the places,
// and the files must not move.
std::vector<PointerPlace> readPointers(Store &store, std::vector<PointerFile> &files, TextBlocks &blocks);

// Opens place's project and topic in the main window with its pointer current; false when the
// project or topic has gone from its list.
bool openPlace(ListNavigation &navigation, const PointerPlace &place);

} // namespace corvanta

#pragma once

#include <QString>

namespace corvanta::FileSearchText {

// The search window's own texts, kept in one place.
QString windowCaption(); // " Global File Search"
QString searchingCaption(const QString &driveText, const QString &searchText);
QString singleFoundCaption(); // "Single File Search"
QString filesFoundCaption(int rows, double elapsedSeconds); // "12,345 Files Found - 3.27 Seconds"
QString remainingCaption(int rows); // "12 Files"
QString subFoldersCaption(int folders); // "1,230 Sub-Folders Searched"
QString filesFoundText(int files); // " 1,200 Files Found"
QString elapsedText(double seconds); // "12.35 Seconds", "1 Minutes 30 Seconds"
// Numbers with thousands separators, as "###,###,###" formats them (0 shows as 0).
QString thousands(long long n);

QString noFilenameText();
QString noFilenameTitle();
QString emptyDriveText(const QString &drive);
QString emptyDriveTitle(const QString &drive);
QString removeText();
QString removeTitle();
QString printPagesText(int pages);
QString printTitle(); // "Corvanta Search Results"

QString patternPlaceholder(); // "File name or pattern, e.g. *.pdf"
QString stopCaption(); // "Stop"
// A result's file name and the folder that holds it, as the results list shows them.
QString resultName(const QString &path);
QString resultFolder(const QString &path);

QString otherFolderEntry(); // "Other Folder..."
QString otherFolderTitle();

} // namespace corvanta::FileSearchText

#include "search/FileSearchTexts.h"

#include "platform/MsgBox.h"

#include <QLocale>

#include <algorithm>

#include <cmath>

namespace corvanta::FileSearchText {

namespace {

QLocale groupingLocale()
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

QString thousands(long long n)
{
    return groupingLocale().toString(n);
}

QString windowCaption()
{
    return QStringLiteral(" Global File Search");
}

QString searchingCaption(const QString &driveText, const QString &searchText)
{
    return QStringLiteral("Searching ") + driveText.toUpper() + QStringLiteral(" Drive For ")
        + searchText;
}

QString singleFoundCaption()
{
    return QStringLiteral("Single File Search");
}

QString filesFoundCaption(int rows, double elapsedSeconds)
{
    return thousands(rows) + QStringLiteral(" Files Found - ") + elapsedText(elapsedSeconds);
}

QString patternPlaceholder()
{
    return QStringLiteral("File name or pattern, e.g. *.pdf");
}

QString stopCaption()
{
    return QStringLiteral("Stop");
}

QString resultName(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString resultFolder(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash <= 0 ? path.left(slash + 1) : path.left(slash);
}

QString remainingCaption(int rows)
{
    return QString::number(rows) + QStringLiteral(" Files");
}

QString subFoldersCaption(int folders)
{
    return thousands(folders) + QStringLiteral(" Sub-Folders Searched");
}

QString filesFoundText(int files)
{
    return u' ' + thousands(files) + QStringLiteral(" Files Found");
}

QString elapsedText(double seconds)
{
    // A clock that went backwards shows as no time at all.
    seconds = std::max(0.0, seconds);
    if (seconds <= 60) {
        const double rounded = std::round(seconds * 100) / 100;
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        return locale.toString(rounded, 'f', QLocale::FloatingPointShortest)
            + QStringLiteral(" Seconds");
    }
    const long long s = std::llround(seconds);
    return QString::number(s / 60) + QStringLiteral(" Minutes ") + QString::number(s % 60)
        + QStringLiteral(" Seconds");
}

QString noFilenameText()
{
    return QStringLiteral("Input A Filename To Search For.") + fiveSpaces();
}
QString noFilenameTitle()
{
    return QStringLiteral(" No Filename To Search");
}

QString emptyDriveText(const QString &drive)
{
    return QStringLiteral("No Folders In Drive ") + drive.toUpper() + QStringLiteral(" To Search.")
        + fiveSpaces();
}

QString emptyDriveTitle(const QString &drive)
{
    return QStringLiteral(" Drive ") + drive.toUpper() + QStringLiteral(" Is Empty");
}

QString removeText()
{
    return QStringLiteral("This Option Removes All Selected Files From This Search List.")
        + fiveSpaces() + u'\r'
        + QStringLiteral("This Option Will NOT Delete, Move Or Alter Any File In Any Manner.")
        + fiveSpaces() + u'\r'
        + QStringLiteral("The Selected Files Will Be Removed But Will Not Be Deleted Or Altered.")
        + fiveSpaces() + u'\r' + u'\r'
        + QStringLiteral("Do You Want To Remove All Selected Files From This List?") + fiveSpaces()
        + u'\r';
}

QString removeTitle()
{
    return QStringLiteral(" Remove Selected Files From This List?");
}

QString printPagesText(int pages)
{
    return QStringLiteral("This Printout Will Print Approximately ") + QString::number(pages)
        + QStringLiteral(" Pages. It Is Recommended") + fiveSpaces() + u'\r'
        + QStringLiteral("That You Set Your Printer Orientation To Landscape.") + u'\r'
        + QStringLiteral("Do You Want To Print The Search Results?");
}

QString printTitle()
{
    return QStringLiteral("Corvanta Search Results");
}

QString otherFolderEntry()
{
    return QStringLiteral("Other Folder...");
}
QString otherFolderTitle()
{
    return QStringLiteral(" Search In Folder");
}

} // namespace corvanta::FileSearchText

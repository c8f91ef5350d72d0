#pragma once

#include <QSet>
#include <QString>

namespace corvanta {

class ListControl;
class Ui;

// Whether a project or topic name can name a file or folder inside the data folder: not blank,
// not "." or "..", and without "/" or control characters, so no path built from it can leave
// its folder.
bool isUsableFileName(const QString &name);

QString invalidNameTitle();
QString blankNameText();
// Why a new or renamed project or topic name cannot be used, or "" when it can: blank, "." or
// "..", holding "..." (the lists' marker, which a rebuild drops), "/", "\" or a control
// character.
QString newNameRefusal(const QString &name);
// "The Name  [NAME]  Cannot Be Used As A File Name." with the advice line.
QString invalidNameText(const QString &name);
// Shows why name cannot be a new project or topic name and returns true; false when it can.
bool refuseNewName(Ui &ui, const QString &name);
// The box that refuses a project (project true) or topic name the list already holds.
void showDuplicateName(Ui &ui, const QString &name, bool project);

// The Topic List's project row, which stands for the project's own File List, and the marker a
// descending Project List may carry. Neither is ever stored, and a row is this row by its text
// alone: a sort can put it anywhere, and a name holding "..." is a name like any other.
QString projectRowText();
inline bool isProjectRow(const QString &rowText) { return rowText == projectRowText(); }

// Why a file cannot become a pointer, or "" when it can. A list file holds one record per line,
// so a name with a CR or LF would become two records; a name whose bytes are not valid text
// reaches us with U+FFFD in their place and would name a file that does not exist.
QString unstorableFileReason(const QString &path);
QString cannotAddFileTitle();
QString cannotAddFileText(const QString &path, const QString &reason);
// Shows " Cannot Add File" with the reason and returns true when path cannot become a pointer.
bool refuseUnstorableFile(Ui &ui, const QString &path);

// Where a list keeps a row's name: the Project List's rows are names whole, the Topic and File
// Lists' names are their first column.
enum class NameField { WholeRow, FirstColumn };

// The first row other than exceptRow that already holds name, or -1. Letter case is ignored:
// names that differ only in case stand for the same project, topic or pointer.
int duplicateNameRow(const ListControl &list, const QString &name, NameField field,
                     int exceptRow = -1);

// The names a list holds, for many duplicate checks in a row (a paste of many pointers into a
// long list); names match as in duplicateNameRow.
class NameSet
{
public:
    NameSet(const ListControl &list, NameField field);
    bool contains(const QString &name) const;
    void insert(const QString &name);

private:
    QSet<QString> keys_;
};

} // namespace corvanta

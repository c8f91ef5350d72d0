#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace corvanta {

// One application's desktop entry (the [Desktop Entry] group of a .desktop file).
struct DesktopEntry
{
    QString id; // "org.example.Editor.desktop"; subfolders joined with '-'
    QString path;
    QString name; // in the user's language when the entry has it
    QString exec; // unescaped, field codes kept
    QString tryExec;
    QString icon;
    QString workingFolder; // the Path key
    QStringList mimeTypes;
    bool noDisplay = false;
    bool hidden = false; // the entry counts as deleted
    bool terminal = false;

    // Exec, wrapped in a terminal when the entry asks for one; "" when no terminal is there.
    QString commandLine() const;
    // Its program (and TryExec) can be found.
    bool launchable() const;
};

// The lower-case scheme of an address ("http", "mailto"), or "" for a file path. A scheme has
// at least two characters, so a drive letter is no scheme.
QString addressScheme(const QString &target);
// Whether a pointer's target names a file or folder: not empty, not a website or e-mail address.
bool isFileTarget(const QString &target);

// What the Open With chooser offers for a target.
struct OpenWithOffer
{
    std::vector<DesktopEntry> registered; // for the file's type, or for the address's scheme
    std::vector<DesktopEntry> others;     // any other application; none for an address
    bool address = false;                 // a web or mail address, not a file
    bool preselect = false;               // the first registered one is chosen in advance
    QString noneText;                     // said when an address has no program of its own
};

// The installed applications and the user's MIME associations, read from the XDG folders
// (XDG_DATA_HOME, XDG_DATA_DIRS, XDG_CONFIG_HOME, XDG_CONFIG_DIRS, XDG_CURRENT_DESKTOP) when made.
class DesktopEntries
{
public:
    DesktopEntries();

    // Parses a desktop file's text; nullopt when it holds no application.
    static std::optional<DesktopEntry> parse(
        const QString &text, const QString &id = QString(), const QString &path = QString());
    static std::optional<DesktopEntry> load(const QString &path, const QString &id);

    // What one mimeapps.list file says: MIME type to desktop-file ids, per group.
    struct Associations
    {
        std::map<QString, QStringList> defaults, added, removed;
    };
    // Parses a mimeapps.list file's text; nullopt when it holds no group at all.
    static std::optional<Associations> parseAssociations(const QString &text);

    // Splits an Exec line into arguments: blanks separate, double quotes group, and inside
    // quotes a backslash escapes " ` $ and itself.
    static QStringList splitCommand(const QString &commandLine);
    // The program and its arguments with target in place of %f %F %u %U (appended when the line
    // has none); the other field codes are dropped, %% is a percent sign.
    static QStringList expandCommand(const QString &commandLine, const QString &target);
    // Quotes one argument for a command line.
    static QString quoteArgument(const QString &argument);
    // A program name or path made absolute through PATH; "" when not found or not executable.
    static QString findProgram(const QString &program);

    // The MIME type of a target: "x-scheme-handler/<scheme>" for an address, else from the
    // file's name and content ("inode/directory" for a folder).
    static QString mimeTypeOf(const QString &target);

    // Every installed application, higher-precedence folders first; hidden entries left out.
    const std::vector<DesktopEntry> &all() const { return entries_; }
    // The default application for a type or, failing that, for a type it inherits from.
    std::optional<DesktopEntry> defaultFor(const QString &mimeType) const;
    // The applications that open the type, the default one first; each launchable.
    std::vector<DesktopEntry> registeredFor(const QString &mimeType) const;
    // Every other application a user may pick: launchable, shown in menus, sorted by name.
    std::vector<DesktopEntry> otherApplications(const QString &mimeType) const;
    // A file: the programs for its type first (the first chosen in advance), then the others. A
    // web or mail address: only the programs that declare its scheme, none chosen in advance,
    // and when there are none the text that says so. An image viewer is no mail program.
    OpenWithOffer offerFor(const QString &target) const;

private:
    std::vector<DesktopEntry> entries_;
    std::map<QString, size_t> byId_;
    std::vector<Associations> lists_; // mimeapps.list files, highest precedence first

    const DesktopEntry *entry(const QString &id) const;
    bool removed(const QString &mimeType, const QString &id) const;
    QStringList typeAndAncestors(const QString &mimeType) const;
    std::vector<const DesktopEntry *> candidates(const QString &type) const;
};

} // namespace corvanta

#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <vector>

namespace corvanta {

class Store;
struct SharedState;

// A help document or one of its sections, as the help window's contents list them.
struct HelpTopic
{
    QString title;
    QUrl url;
    std::vector<HelpTopic> sections;
};

// The help window's logic: the page it shows, its contents (both documents and their sections),
// where a followed link leads, and its size, kept in the settings file. The window is not modal:
// it stays open beside the main window, and the help commands show other pages in it.
class HelpWindow
{
public:
    // find gives a help document's path by its name, or "" when it is missing; the size is read
    // from state's settings file and kept there through storeSetting, which tells the user when
    // the file cannot be written.
    using SettingWriter = std::function<void(const QString &section, const QString &key, const QString &value)>;
    HelpWindow(const SharedState &state, Store &store, std::function<QString(const QString &)> find, SettingWriter storeSetting);
    ~HelpWindow();
    HelpWindow(const HelpWindow &) = delete;
    HelpWindow &operator=(const HelpWindow &) = delete;

    static QString caption();
    // The help documents in the order the contents list them.
    static QStringList documentNames();

    QUrl source() const { return source_; }
    // Shows the document at path, at anchor when not empty.
    void show(const QString &path, const QString &anchor = QString());
    // The window went to url by itself (back, forward).
    void sourceShown(const QUrl &url) { source_ = url; }
    // A link the user followed, as written in the page shown; the one who opens links decides
    // (another page, an address for the desktop, a missing document's message).
    void linkClicked(const QUrl &link);
    std::function<void(const QUrl &)> openLink;

    // Each document found with its h2 sections, for the contents.
    std::vector<HelpTopic> contents() const;
    // The title and h2 sections of one document's text (url is the document's own address).
    static HelpTopic topicsOf(const QString &html, const QUrl &url);

    // The size in twips, from the settings file; a size out of reason gives the default.
    int width() const { return width_; }
    int height() const { return height_; }
    void Form_Load();
    // The window closed at this size: kept for the next time.
    void Form_Unload(int widthTwips, int heightTwips);
    bool isOpen() const { return open_; }

    std::function<void()> onChanged;
    // Told when this object goes, so a window that outlives it lets it be.
    std::function<void()> onDestroyed;

private:
    const SharedState &state_;
    Store &store_;
    std::function<QString(const QString &)> find_;
    SettingWriter storeSetting_;
    QUrl source_;
    int width_ = 0;
    int height_ = 0;
    bool open_ = false;
};

} // namespace corvanta

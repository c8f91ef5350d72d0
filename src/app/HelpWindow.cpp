#include "app/HelpWindow.h"

#include "app/IniFile.h"
#include "app/SharedState.h"

#include <QFile>
#include <QRegularExpression>

namespace corvanta {

namespace {

const QString section = QStringLiteral("Help Window");
constexpr int defaultWidth = 10500; // twips: 700 by 600 pixels at 96 dots per inch
constexpr int defaultHeight = 9000;
constexpr int smallest = 3000;
constexpr int largest = 150000;

// The text of a bit of markup: tags dropped, the few entities the documents use decoded.
QString plainText(QString markup)
{
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    static const QRegularExpression numeric(QStringLiteral("&#(x?)([0-9a-fA-F]+);"));
    markup.remove(tags);
    QString text;
    qsizetype from = 0;
    for (const QRegularExpressionMatch &m : numeric.globalMatch(markup)) {
        text += QStringView(markup).mid(from, m.capturedStart() - from);
        bool ok = false;
        const uint code = m.captured(2).toUInt(&ok, m.captured(1).isEmpty() ? 10 : 16);
        const char32_t character = code;
        if (ok && code != 0 && code < 0x110000)
            text += QString::fromUcs4(&character, 1);
        from = m.capturedEnd();
    }
    text += QStringView(markup).mid(from);
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&nbsp;"), QStringLiteral(" "))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.simplified();
}

int sizeSetting(Store &store, const QString &iniFile, const QString &key, int fallback)
{
    bool ok = false;
    const int value = ReadIniString(store, iniFile, section, key, QString()).trimmed().toInt(&ok);
    return ok && value >= smallest && value <= largest ? value : fallback;
}

} // namespace

HelpWindow::HelpWindow(const SharedState &state, Store &store, std::function<QString(const QString &)> find,
                       SettingWriter storeSetting)
    : state_(state), store_(store), find_(std::move(find)), storeSetting_(std::move(storeSetting))
{
}

HelpWindow::~HelpWindow()
{
    if (onDestroyed)
        onDestroyed();
}

QString HelpWindow::caption()
{
    return QStringLiteral(" Corvanta Help");
}

QStringList HelpWindow::documentNames()
{
    return {QStringLiteral("Corvanta.Hlp"), QStringLiteral("UserManual.Hlp")};
}

void HelpWindow::show(const QString &path, const QString &anchor)
{
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    source_ = url;
    if (onChanged)
        onChanged();
}

void HelpWindow::linkClicked(const QUrl &link)
{
    if (openLink)
        openLink(source_.resolved(link));
}

HelpTopic HelpWindow::topicsOf(const QString &html, const QUrl &url)
{
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression heading(QStringLiteral("<h2\\b[^>]*\\bid=\"([^\"]+)\"[^>]*>(.*?)</h2>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    HelpTopic topic;
    topic.url = url;
    topic.title = plainText(title.match(html).captured(1));
    if (topic.title.isEmpty())
        topic.title = url.fileName();
    for (const QRegularExpressionMatch &m : heading.globalMatch(html)) {
        QUrl at = url;
        at.setFragment(m.captured(1));
        topic.sections.push_back({plainText(m.captured(2)), at, {}});
    }
    return topic;
}

std::vector<HelpTopic> HelpWindow::contents() const
{
    std::vector<HelpTopic> topics;
    for (const QString &name : documentNames()) {
        const QString path = find_ ? find_(name) : QString();
        QFile file(path);
        if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
            continue;
        // Help documents are small; a huge file is not one of them.
        topics.push_back(topicsOf(QString::fromUtf8(file.read(4 << 20)), QUrl::fromLocalFile(path)));
    }
    return topics;
}

void HelpWindow::Form_Load()
{
    open_ = true;
    width_ = sizeSetting(store_, state_.IniFile, QStringLiteral("Width"), defaultWidth);
    height_ = sizeSetting(store_, state_.IniFile, QStringLiteral("Height"), defaultHeight);
}

void HelpWindow::Form_Unload(int widthTwips, int heightTwips)
{
    open_ = false;
    if (widthTwips == width_ && heightTwips == height_)
        return;
    width_ = widthTwips;
    height_ = heightTwips;
    storeSetting_(section, QStringLiteral("Width"), QString::number(widthTwips));
    storeSetting_(section, QStringLiteral("Height"), QString::number(heightTwips));
}

} // namespace corvanta

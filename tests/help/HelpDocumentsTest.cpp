// The help documents shipped in docs/help: they parse, every link lands on a document and an
// anchor that exist, and their prose passes the spell checker with the program's own words.
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <map>

namespace corvanta::test {
namespace {

// Readable failure messages: one item a line.
std::string lines(const QStringList &items)
{
    return items.join(u'\n').toStdString();
}

const QString helpFolder = QStringLiteral(CORVANTA_HELP_DIR);
const QStringList helpDocuments = {QStringLiteral("Corvanta.Hlp"), QStringLiteral("UserManual.Hlp")};

// The only addresses outside the documents they may point to: the maker's site and support.
const QSet<QString> externalAddresses = {QStringLiteral("https://corvanta.example.org/"),
    QStringLiteral("https://corvanta.example.org/download"),
    QStringLiteral("mailto:support@corvanta.example.org")};

struct HelpLink
{
    QString href;
    qint64 line = 0;
};

struct HelpDocument
{
    QString error; // empty when the markup parsed
    QSet<QString> anchors;
    std::vector<HelpLink> links;
    QStringList headingsWithoutId;
    QString prose; // what a reader reads: no style sheet, file names or key names
};

// The documents are kept well-formed (XHTML syntax), so an XML reader is a strict enough parser.
HelpDocument readHelpDocument(const QByteArray &bytes)
{
    HelpDocument doc;
    QXmlStreamReader xml(bytes);
    int skipDepth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString tag = xml.name().toString().toLower();
            const QXmlStreamAttributes attributes = xml.attributes();
            const QString id = attributes.value(QLatin1String("id")).toString();
            if (!id.isEmpty())
                doc.anchors.insert(id);
            if (tag == u"a" && attributes.hasAttribute(QLatin1String("name")))
                doc.anchors.insert(attributes.value(QLatin1String("name")).toString());
            if (tag == u"a" && attributes.hasAttribute(QLatin1String("href")))
                doc.links.push_back(
                    {attributes.value(QLatin1String("href")).toString(), xml.lineNumber()});
            if ((tag == u"h2" || tag == u"h3") && id.isEmpty())
                doc.headingsWithoutId << QStringLiteral("line %1").arg(xml.lineNumber());
            if (skipDepth > 0 || tag == u"style" || tag == u"code" || tag == u"kbd")
                ++skipDepth;
            doc.prose += u' ';
        } else if (xml.isEndElement()) {
            if (skipDepth > 0)
                --skipDepth;
            doc.prose += u' ';
        } else if (xml.isCharacters() && skipDepth == 0) {
            doc.prose += xml.text();
        }
    }
    if (xml.hasError())
        doc.error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    return doc;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every link of the document in folder that leads nowhere, as "name:line: href (why)".
QStringList brokenLinks(const QString &folder, const QString &name)
{
    std::map<QString, HelpDocument> loaded;
    auto load = [&](const QString &docName) -> const HelpDocument * {
        if (!QFile::exists(folder + u'/' + docName))
            return nullptr;
        auto it = loaded.find(docName);
        if (it == loaded.end())
            it = loaded.emplace(docName, readHelpDocument(readFile(folder + u'/' + docName))).first;
        return &it->second;
    };
    QStringList broken;
    const HelpDocument *doc = load(name);
    if (!doc)
        return {name + QStringLiteral(": missing")};
    for (const HelpLink &link : doc->links) {
        QString why;
        if (link.href.startsWith(u"http:") || link.href.startsWith(u"https:")
            || link.href.startsWith(u"mailto:")) {
            if (!externalAddresses.contains(link.href))
                why = QStringLiteral("not one of the maker's addresses");
        } else {
            const qsizetype hash = link.href.indexOf(u'#');
            const QString target = hash < 0 ? link.href : link.href.left(hash);
            const QString anchor = hash < 0 ? QString() : link.href.mid(hash + 1);
            const HelpDocument *targetDoc = target.isEmpty() ? doc : load(target);
            if (!targetDoc)
                why = QStringLiteral("no such document");
            else if (!anchor.isEmpty() && !targetDoc->anchors.contains(anchor))
                why = QStringLiteral("no such anchor");
        }
        if (!why.isEmpty())
            broken << QStringLiteral("%1:%2: %3 (%4)").arg(name).arg(link.line).arg(link.href, why);
    }
    return broken;
}

struct SpellResult
{
    QString error; // the checker could not run
    QStringList misspelt;
};

// The words hunspell does not know, checked against US English and the project's word list.
SpellResult misspeltWords(QString prose, const QString &wordList)
{
    // Numbers, sizes and key names with digits are not words.
    prose.replace(QRegularExpression(QStringLiteral("\\S*\\d\\S*")), QStringLiteral(" "));
    const QString hunspell = QStandardPaths::findExecutable(QStringLiteral("hunspell"));
    if (hunspell.isEmpty())
        return {QStringLiteral("hunspell not found; install hunspell and hunspell-en-us "
                               "(scripts/deps.sh build)"),
            {}};
    QProcess process;
    process.start(hunspell, {QStringLiteral("-d"), QStringLiteral("en_US"), QStringLiteral("-p"),
                                wordList, QStringLiteral("-i"), QStringLiteral("utf-8"),
                                QStringLiteral("-l")});
    process.write(prose.toUtf8());
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        return {QStringLiteral("hunspell failed: ") + QString::fromUtf8(process.readAllStandardError()),
            {}};
    }
    SpellResult result;
    const QStringList words =
        QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &word : words) {
        if (!result.misspelt.contains(word))
            result.misspelt << word;
    }
    return result;
}

TEST(HelpDocuments, bothDocuments_parseWithAnAnchorForEverySectionAndLinksThatLand)
{
    for (const QString &name : helpDocuments) {
        SCOPED_TRACE(name.toStdString());
        const HelpDocument doc = readHelpDocument(readFile(helpFolder + u'/' + name));
        EXPECT_EQ(doc.error.toStdString(), "");
        EXPECT_EQ(lines(doc.headingsWithoutId), "");
        EXPECT_GT(doc.links.size(), 20u);
        EXPECT_EQ(lines(brokenLinks(helpFolder, name)), "");
    }
}

TEST(HelpDocuments, prose_passesTheSpellChecker)
{
    for (const QString &name : helpDocuments) {
        SCOPED_TRACE(name.toStdString());
        const SpellResult result = misspeltWords(
            readHelpDocument(readFile(helpFolder + u'/' + name)).prose, helpFolder + QStringLiteral("/words.txt"));
        ASSERT_EQ(result.error.toStdString(), "");
        EXPECT_EQ(lines(result.misspelt), "");
    }
}

// The checks above are only worth their name if they fail; each fault here must be caught.
TEST(HelpDocuments, checks_catchEachKindOfFault)
{
    TempFolder folder;
    folder.write(QStringLiteral("Other.Hlp"), "<html><body><h2 id=\"there\">There</h2></body></html>");
    folder.write(QStringLiteral("words.txt"), "Corvanta/Paris\n");
    const struct
    {
        const char *markup;
        const char *fault; // text the report must hold; empty: the document is sound
    } cases[] = {
        {"<a href=\"Other.Hlp#there\">x</a><a href=\"https://corvanta.example.org/\">x</a>", ""},
        {"<a href=\"#nowhere\">x</a>", "#nowhere (no such anchor)"},
        {"<a href=\"Other.Hlp#nowhere\">x</a>", "Other.Hlp#nowhere (no such anchor)"},
        {"<a href=\"Missing.Hlp#there\">x</a>", "Missing.Hlp#there (no such document)"},
        {"<a href=\"https://example.org/\">x</a>", "not one of the maker's addresses"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.markup);
        folder.write(QStringLiteral("Doc.Hlp"),
            QByteArray("<html><body>") + c.markup + QByteArray("</body></html>"));
        const std::string report = lines(brokenLinks(folder.path(), QStringLiteral("Doc.Hlp")));
        if (*c.fault)
            EXPECT_NE(report.find(c.fault), std::string::npos) << report;
        else
            EXPECT_EQ(report, "");
    }

    const SpellResult spelt = misspeltWords(
        readHelpDocument("<html><body><p>Corvanta's lists recieve <code>Projekt.Lst</code> "
                         "in F12 mode</p></body></html>")
            .prose,
        folder.file(QStringLiteral("words.txt")));
    ASSERT_EQ(spelt.error.toStdString(), "");
    EXPECT_EQ(lines(spelt.misspelt), "recieve");
}

} // namespace
} // namespace corvanta::test

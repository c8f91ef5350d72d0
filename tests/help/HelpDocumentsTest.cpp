// The help documents shipped in docs/help: they parse, and every link lands on a document and an
// anchor that exist.
#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QXmlStreamReader>

#include <map>

using namespace Qt::StringLiterals;

namespace corvanta::test {
namespace {

const QString helpFolder = QStringLiteral(CORVANTA_HELP_DIR);

// The only addresses outside the documents they may point to: the maker's site and support.
const QSet<QString> externalAddresses = {u"https://corvanta.example.org/"_s,
    u"https://corvanta.example.org/download"_s, u"mailto:support@corvanta.example.org"_s};

struct HelpDocument
{
    QString error; // empty when the markup parsed
    QSet<QString> anchors;
    std::vector<std::pair<QString, qint64>> links; // href and line
    QStringList headingsWithoutId;
};

// The documents are kept well-formed (XHTML syntax), so an XML reader is a strict enough parser.
HelpDocument readHelpDocument(const QString &path)
{
    QFile file(path);
    HelpDocument doc;
    if (!file.open(QIODevice::ReadOnly)) {
        doc.error = u"cannot be read"_s;
        return doc;
    }
    QXmlStreamReader xml(file.readAll());
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString tag = xml.name().toString().toLower();
            const QXmlStreamAttributes attributes = xml.attributes();
            const QString id = attributes.value("id"_L1).toString();
            if (!id.isEmpty())
                doc.anchors.insert(id);
            if (tag == u"a" && attributes.hasAttribute("name"_L1))
                doc.anchors.insert(attributes.value("name"_L1).toString());
            if (tag == u"a" && attributes.hasAttribute("href"_L1))
                doc.links.emplace_back(attributes.value("href"_L1).toString(), xml.lineNumber());
            if ((tag == u"h2" || tag == u"h3") && id.isEmpty())
                doc.headingsWithoutId << u"line %1"_s.arg(xml.lineNumber());
        }
    }
    if (xml.hasError())
        doc.error = u"line %1: %2"_s.arg(xml.lineNumber()).arg(xml.errorString());
    return doc;
}

// Every link of the document name that leads nowhere, as "name:line: href (why)".
QStringList brokenLinks(const QString &name, std::map<QString, HelpDocument> &loaded)
{
    const auto load = [&](const QString &docName) -> const HelpDocument * {
        if (!QFile::exists(helpFolder + u'/' + docName))
            return nullptr;
        auto it = loaded.find(docName);
        if (it == loaded.end())
            it = loaded.emplace(docName, readHelpDocument(helpFolder + u'/' + docName)).first;
        return &it->second;
    };
    QStringList broken;
    const HelpDocument *doc = load(name);
    if (!doc)
        return {name + u": missing"_s};
    for (const auto &[href, line] : doc->links) {
        QString why;
        if (href.startsWith(u"http:") || href.startsWith(u"https:") || href.startsWith(u"mailto:")) {
            if (!externalAddresses.contains(href))
                why = u"not one of the maker's addresses"_s;
        } else {
            const qsizetype hash = href.indexOf(u'#');
            const QString target = hash < 0 ? href : href.left(hash);
            const QString anchor = hash < 0 ? QString() : href.mid(hash + 1);
            const HelpDocument *targetDoc = target.isEmpty() ? doc : load(target);
            if (!targetDoc)
                why = u"no such document"_s;
            else if (!anchor.isEmpty() && !targetDoc->anchors.contains(anchor))
                why = u"no such anchor"_s;
        }
        if (!why.isEmpty())
            broken << u"%1:%2: %3 (%4)"_s.arg(name).arg(line).arg(href, why);
    }
    return broken;
}

TEST(HelpDocuments, bothDocuments_parseAndLinkWhereTheyShould)
{
    std::map<QString, HelpDocument> loaded;
    for (const QString &name : {u"Corvanta.Hlp"_s, u"UserManual.Hlp"_s}) {
        SCOPED_TRACE(name.toStdString());
        const HelpDocument doc = readHelpDocument(helpFolder + u'/' + name);
        EXPECT_EQ(doc.error.toStdString(), "");
        EXPECT_EQ(doc.headingsWithoutId.join(u' ').toStdString(), "");
        EXPECT_GT(doc.links.size(), 20u);
        EXPECT_EQ(brokenLinks(name, loaded).join(u'\n').toStdString(), "");
    }
}

} // namespace
} // namespace corvanta::test

// The desktop-entry reader: any text parses without a crash, every word of an Exec line survives
// quoting for a command line, and an expanded command carries its target.

#include "FuzzSupport.h"

#include "platform/DesktopEntries.h"

using namespace corvanta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    const auto entry = DesktopEntries::parse(text, QStringLiteral("fuzz.desktop"), QStringLiteral("/fuzz.desktop"));
    const QStringList words = DesktopEntries::splitCommand(entry ? entry->exec : text);
    for (const QString &word : words)
        FUZZ_CHECK(DesktopEntries::splitCommand(DesktopEntries::quoteArgument(word)) == QStringList{word});
    const QStringList expanded = DesktopEntries::expandCommand(entry ? entry->exec : text, QStringLiteral("/tmp/a b.txt"));
    // A command that is left with any word at all carries the target ("%B" alone leaves none).
    FUZZ_CHECK(expanded.isEmpty() || expanded.join(QString()).contains(QStringLiteral("/tmp/a b.txt")));
    (void)addressScheme(text.left(64));
    return 0;
}

// The mimeapps.list reader: any text parses without a crash into types and desktop-file ids.

#include "FuzzSupport.h"

#include "platform/DesktopEntries.h"

using namespace corvanta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto lists = DesktopEntries::parseAssociations(QString::fromUtf8(fuzz::bytesOf(data, size)));
    if (!lists)
        return 0;
    for (const auto *group : {&lists->defaults, &lists->added, &lists->removed}) {
        for (const auto &[type, ids] : *group) {
            FUZZ_CHECK(!type.isEmpty());
            for (const QString &id : ids)
                FUZZ_CHECK(!id.isEmpty());
        }
    }
    return 0;
}

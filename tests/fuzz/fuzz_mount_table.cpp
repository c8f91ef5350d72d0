// The mount table reader: any text parses without a crash; every mount point it gives is
// unescaped and every entry has a type.

#include "FuzzSupport.h"

#include "search/MountTable.h"

#include <string>

using namespace corvanta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    for (const MountEntry &mount : parseMountInfo(text)) {
        FUZZ_CHECK(!mount.type.empty());
        FUZZ_CHECK(!mount.mountPoint.empty());
        (void)isPseudoFileSystemType(mount.type);
    }
    return 0;
}

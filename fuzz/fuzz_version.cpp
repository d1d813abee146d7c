// The published version file of the update check.
#include "FuzzVerdict.h"
#include "VersionProperties.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Raw, not copied: a read past the input's end is then caught.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    FuzzVerdict::require(VersionProperties::versionFile(bytes));
    return 0;
}

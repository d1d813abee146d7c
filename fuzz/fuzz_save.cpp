// The saved game, read as Continue reads it.
#include "FuzzVerdict.h"
#include "ReaderProperties.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Raw, not copied: a read past the input's end is then caught.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    FuzzVerdict::require(ReaderProperties::save(bytes));
    return 0;
}

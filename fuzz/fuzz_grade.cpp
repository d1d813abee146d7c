// The statistics file, read as the grade window reads it.
#include "FuzzVerdict.h"
#include "ReaderProperties.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Raw, not copied: a read past the input's end is then caught.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    FuzzVerdict::require(ReaderProperties::grade(bytes));
    return 0;
}

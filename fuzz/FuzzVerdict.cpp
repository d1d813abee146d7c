#include "FuzzVerdict.h"

#include <cstdio>
#include <cstdlib>

void FuzzVerdict::require(const QString &why)
{
    if (why.isEmpty())
        return;
    std::fprintf(stderr, "property violated: %s\n", why.toUtf8().constData());
    std::abort();
}

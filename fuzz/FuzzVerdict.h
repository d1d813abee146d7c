#pragma once

#include <QString>

// How a fuzz target reports a broken property: libFuzzer keeps an input
// only when the process dies, so the violation must crash.
class FuzzVerdict
{
public:
    static void require(const QString &why);
};

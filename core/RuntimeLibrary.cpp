#include "RuntimeLibrary.h"

RuntimeLibrary::RuntimeLibrary(const QString &name, int majorVersion)
    : m_library(name, majorVersion)
{ }

bool RuntimeLibrary::load()
{
    return m_library.load();
}

bool RuntimeLibrary::resolve(std::initializer_list<Entry> table)
{
    for (const Entry &entry : table) {
        const QFunctionPointer address = m_library.resolve(entry.m_name);
        if (!address) {
            for (const Entry &reset : table)
                reset.m_assign(reset.m_target, nullptr);
            return false;
        }
        entry.m_assign(entry.m_target, address);
    }
    return true;
}

void RuntimeLibrary::unload()
{
    m_library.unload();
}

#pragma once

#include <QLibrary>
#include <QString>
#include <initializer_list>
#include <type_traits>

// A system library the game loads by name when it first needs it rather
// than at start, so that a run that never prints, plays or draws a puzzle
// does not carry it (SQLCipher, SDL, CUPS). Each user keeps its own table of
// the functions it calls and hands it to resolve(); a table is either whole
// or empty, so a library of the wrong version is never half used.
class RuntimeLibrary
{
public:
    // One function of a table: where its address goes and its exported name.
    class Entry
    {
    public:
        template <typename F>
        Entry(F &function, const char *name)
            : m_target(&function)
            , m_name(name)
            , m_assign(&assign<F>)
        {
            static_assert(std::is_pointer_v<F> && std::is_function_v<std::remove_pointer_t<F>>,
                "a table entry is a function pointer");
        }

    private:
        friend class RuntimeLibrary;
        template <typename F> static void assign(void *target, QFunctionPointer address)
        {
            *static_cast<F *>(target) = reinterpret_cast<F>(address);
        }

        void *m_target;
        const char *m_name;
        void (*m_assign)(void *, QFunctionPointer);
    };

    // `name` without prefix or suffix ("cups"), `majorVersion` the number
    // after ".so." (0 for none).
    RuntimeLibrary(const QString &name, int majorVersion);

    bool load();
    // Fills every entry of `table`; when one function is missing, all of
    // them are set back to null and errorString() names the missing one.
    bool resolve(std::initializer_list<Entry> table);
    void unload();
    QString errorString() const { return m_library.errorString(); }

private:
    QLibrary m_library;
};

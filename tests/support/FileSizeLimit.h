#pragma once

#include <QtGlobal>
#include <sys/resource.h>

// Lowers the largest file size this process may write while the object
// lives, so that a write fails part-way as on a full disk; even root is
// held to it. SIGXFSZ is ignored meanwhile, so the write returns an error
// instead of ending the test.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    Q_DISABLE_COPY(FileSizeLimit)

    // False when the system refused the limit; the test then skips.
    bool isActive() const { return m_active; }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

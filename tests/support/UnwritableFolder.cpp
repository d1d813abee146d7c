#include "UnwritableFolder.h"

#include <QFile>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Capabilities belong to a thread; the game's files are written on the
// test's main thread, which is the one that calls this.
bool setOverride(bool on)
{
    __user_cap_header_struct header {};
    header.version = _LINUX_CAPABILITY_VERSION_3;
    header.pid = 0;
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned index = CAP_TO_INDEX(CAP_DAC_OVERRIDE);
    const quint32 mask = CAP_TO_MASK(CAP_DAC_OVERRIDE);
    if (on)
        data[index].effective |= data[index].permitted & mask;
    else
        data[index].effective &= ~mask;
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

UnwritableFolder::UnwritableFolder(const QString &path)
    : m_path(path)
    , m_before(QFile::permissions(path))
{
    QFile::setPermissions(path,
        QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup
            | QFileDevice::ReadOther | QFileDevice::ExeOther);
    if (geteuid() == 0)
        m_droppedOverride = setOverride(false);
}

UnwritableFolder::~UnwritableFolder()
{
    if (m_droppedOverride)
        setOverride(true);
    // The owner may always change the bits back, so the temporary folder
    // can be removed.
    QFile::setPermissions(m_path, m_before);
}

bool UnwritableFolder::holds() const
{
    QFile probe(m_path + QStringLiteral("/unwritable-check"));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return true;
    probe.remove();
    return false;
}

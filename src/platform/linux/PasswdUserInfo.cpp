#include "platform/linux/PasswdUserInfo.h"

#include <pwd.h>
#include <unistd.h>
#include <vector>

QString PasswdUserInfo::userName() const
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &pw, buffer.data(), buffer.size(), &found) != 0 || !found)
        return QString::fromLocal8Bit(qgetenv("USER"));
    QString full = QString::fromLocal8Bit(pw.pw_gecos ? pw.pw_gecos : "");
    full = full.section(QLatin1Char(','), 0, 0).trimmed();
    if (!full.isEmpty())
        return full;
    return QString::fromLocal8Bit(pw.pw_name ? pw.pw_name : "");
}

#include "serial/exclusive_lock.h"

#include <cerrno>
#include <sys/file.h>

namespace serial {

bool TryLockExclusive(int fd)
{
    int locked = -1;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    return locked == 0;
}

}  // namespace serial

#pragma once

namespace serial {

// Takes an exclusive flock on the open file without waiting (retried when a signal comes
// between). False, with errno set, when another open file holds it or it cannot be taken.
bool TryLockExclusive(int fd);

}  // namespace serial

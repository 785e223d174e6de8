#include "serial/process_name.h"

#include <fcntl.h>
#include <unistd.h>

#include "serial/unique_fd.h"

namespace serial {

std::string ProcessName(long pid)
{
    const std::string path = "/proc/" + std::to_string(pid) + "/comm";
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    char name[64];
    const ssize_t length = fd.valid() ? ::read(fd.get(), name, sizeof name) : -1;
    if (length <= 0) {
        return {};
    }
    std::string text(name, static_cast<std::size_t>(length));
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

}  // namespace serial

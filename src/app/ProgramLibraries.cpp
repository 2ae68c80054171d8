#include "ProgramLibraries.h"

#include <unistd.h>

std::string ProgramLibraries::beside(const char* relativePath)
{
    std::string program(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", program.data(), program.size());
        if (length < 0)
            return std::string();
        if (size_t(length) < program.size()) {
            program.resize(size_t(length));
            break;
        }
        program.resize(program.size() * 2);
    }
    return program.substr(0, program.rfind('/') + 1) + relativePath;
}

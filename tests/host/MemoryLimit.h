#pragma once
// Caps the process's address space at what it uses now plus headroom, so an
// allocation far beyond the input fails at once instead of succeeding on a
// machine with memory to spare. For death-test children only.
#include <sys/resource.h>

#include <fstream>
#include <string>

inline void LimitAddressSpaceToCurrentPlus(size_t headroom)
{
    size_t used = 0;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmSize:", 0) == 0)
            used = std::stoul(line.substr(7)) * 1024;  // in kB
    }
    const rlimit limit{used + headroom, used + headroom};
    setrlimit(RLIMIT_AS, &limit);
}

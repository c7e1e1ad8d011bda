// What the benches that record from the virtual camera share: the camera preloaded into the
// process, the monotonic clock its flashes keep, and their numeric options.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <time.h>
#include <unistd.h>

// The virtual camera must be in the process from its start: the first call re-executes the
// program with it preloaded. Then Qt is to run headless and every figure to show as printed.
// False only when the re-execution fails.
inline bool PrepareVirtualCameraBench(char** argv) {
    if (!std::getenv("LD_PRELOAD")) {
        setenv("LD_PRELOAD", CS_VIRTUAL_CAMERA, 1);
        execv("/proc/self/exe", argv);
        std::perror("execv");
        return false;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    return true;
}

inline int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Reads `arg` as "--name=N" into `value`, raised to `least`; false for any other option.
inline bool IntOption(const std::string& arg, const std::string& name, int least, int* value) {
    const std::string prefix = "--" + name + "=";
    if (arg.rfind(prefix, 0) != 0) return false;
    *value = std::max(least, std::atoi(arg.c_str() + prefix.size()));
    return true;
}

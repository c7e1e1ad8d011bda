// Runs a program to completion and measures its wall time and CPU time.
#pragma once

#include <string>
#include <vector>

struct ChildRun {
    int exitCode = -1;
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

ChildRun RunChild(const std::vector<std::string>& argv);

// CPU seconds (user + system) this process has used so far.
double SelfCpuSeconds();
// Resident memory of this process in MiB.
double ResidentMiB();

// The application object: runs the main window modally and ends with it.
#pragma once

struct JobOptions;

class CCaptureApp {
public:
    // The whole run of the program with the options of its command line; returns the
    // process exit code.
    int Run(const JobOptions& options);
};

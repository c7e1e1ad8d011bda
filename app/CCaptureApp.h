// The application object: runs the main window modally and ends with it.
#pragma once

class CCaptureApp {
public:
    // The whole run of the program; returns the process exit code.
    int Run();
};

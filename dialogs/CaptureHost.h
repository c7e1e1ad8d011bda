// What a settings dialog needs of the main window: its capture control.
#pragma once

class CVideoCap;

class CaptureHost {
public:
    virtual CVideoCap& Capture() = 0;

protected:
    ~CaptureHost() = default;
};

// Drives the capture control through its dispatch interface only, in the order the main
// window's command sequences use, with the values the settings dialogs would hold.
#pragma once

#include "platform/CaptureInterface.h"
#include "platform/Dispatch.h"

#include <string>
#include <vector>

class ComponentDriver {
public:
    struct Selection {
        int16_t videoDevice = 0, videoFormat = 0, videoInput = 0;
        int16_t audioDevice = 0, audioInput = 0;
        int16_t syncMode = 1, audioOffset = 1;
        bool useOverlay = true;
        // The stamp and the text cover the test pattern's counter row; tests that read the
        // counter keep them off.
        bool showStampAndText = false;
    };
    struct Flv {  // the FLV dialog's initial values
        int32_t audioBitrate = 128000;
        int16_t audioChannels = 2;
        int32_t audioSampleRate = 44100;
        int16_t videoHeight = 240;
        int16_t videoWidth = 320;
        int32_t videoBitrate = 512000;
        int16_t frameRate = 25;
    };

    explicit ComponentDriver(platform::IDispatch& control) : m_control(control) {}

    platform::Variant Call(platform::CaptureOp op, std::vector<platform::Variant> args = {});
    // Reads a name collection as the main window does: a fresh object for every call.
    std::vector<std::string> Names(platform::CaptureOp collection);
    int IndexOf(platform::CaptureOp collection, const std::string& name);
    // Chooses "Test Pattern" in `format` and "Test Tone", as the device dialogs would.
    void SelectTestSources(const std::string& format);
    // Chooses by the names the dialogs list; false when one of them is not listed.
    bool Select(const std::string& video, const std::string& format, const std::string& input,
                const std::string& audio);

    void ApplyDeviceSelection();
    void OverlaySet();
    void ApplyOverlays();
    void StartSettings();

    int16_t Preview();                        // "BUTTON_PLAY"
    int16_t Record(const std::string& path);  // "BUTTON_CONVERT", the save dialog answered
    void Pause();                             // "BUTTON_PAUSE"
    int16_t Stop();                           // "BUTTON_STOP": stops, then resumes the preview
    void StopCapture();

    Selection selection;
    Flv flv;

private:
    platform::IDispatch& m_control;
};

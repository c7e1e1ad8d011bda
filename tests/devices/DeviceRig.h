// What the device tests share: a sound server of their own, the virtual camera's fault file,
// and measurements of the sine and the camera's pictures in a recording.
#pragma once

#include "MediaReadback.h"
#include "SoundServer.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>

class DeviceRig {
public:
    // Starts the sound server; `viaAlsa` leaves libpulse without a server, so that the
    // component finds the sine through ALSA's default device alone.
    explicit DeviceRig(bool viaAlsa = false);
    ~DeviceRig();
    bool ok() const { return m_sound && m_sound->ok(); }
    QString error() const { return m_sound ? m_sound->error() : QStringLiteral("no folder"); }
    SoundServer& sound() { return *m_sound; }

    // Writes the virtual camera's fault file ("unplug Virtual Camera", "busy", "").
    void SetCameraFault(const std::string& faults);

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SoundServer> m_sound;
};

// Where the 440 Hz sine is in a recording's sound.
struct ToneSpan {
    double first = -1;       // seconds: the first 20 ms window with the tone
    double last = -1;        // the end of the last one
    double longestGap = 0;   // the longest silence between them
    double frequency = 0;    // from the zero crossings while it sounds (4 Hz steps)
};
ToneSpan MeasureTone(const Readback& rb);

// The mean grey level of a part of a picture, given in fractions of its size.
double MeanGrey(const QImage& grey, double left, double top, double right, double bottom);
// How much the rows of a band (fractions of the height) differ from the mean of their two
// neighbours: woven fields of a moving thing make it large, whole frames small.
double Combing(const QImage& grey, double top, double bottom);
// The picture of the two last ones that is not the once-a-second flash.
const QImage& NonFlashPicture(const Readback& rb);
// How many of the frame counter's steps from one frame to the next are exactly one.
double FractionOfSingleSteps(const Readback& rb);

// Reads a recording back with libavformat/libavcodec and measures what the test sources put
// into it: frames with their brightness and counter, beep onsets, stream properties and the
// duration and size the FLV metadata claims.
#pragma once

#include <QImage>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DecodedFrame {
    double time = 0;       // seconds
    double meanLuma = 0;   // 0..255
    int64_t counter = -1;  // the test pattern's frame counter, -1 if unreadable
};

struct Readback {
    bool opened = false;
    std::string error;
    std::string videoCodec;
    std::string audioCodec;
    int width = 0;
    int height = 0;
    double frameRate = 0;
    int sampleRate = 0;
    int channels = 0;
    double duration = 0;  // container duration, seconds
    std::vector<DecodedFrame> frames;
    QImage lastPicture;  // the last decoded frame, grey
    // The one before it: of two pictures in a row at most one is the once-a-second flash.
    QImage pictureBeforeLast;
    std::vector<double> keyFrames;   // seconds
    std::vector<double> beepOnsets;  // seconds
    int64_t audioSamples = 0;
    std::vector<float> audio;  // the first channel, from audioStart on
    double audioStart = -1;
    double audioEnd = 0;
    int decodeErrors = 0;
    std::optional<double> metaDuration;
    std::optional<double> metaFileSize;

    std::vector<double> FlashTimes() const;
    // Beep onset minus flash time for every flash with a beep within half a second.
    std::vector<double> AvOffsets() const;
    double VideoSpan() const;  // from the first frame to the end of the last
};

Readback ReadRecording(const std::string& path);

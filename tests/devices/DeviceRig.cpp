#include "DeviceRig.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <vector>
#include <cstdlib>

DeviceRig::DeviceRig(bool viaAlsa) {
    if (!m_dir.isValid()) return;
    ::setenv("CS_VCAM_CONTROL", m_dir.filePath("camera-faults").toLocal8Bit().constData(), 1);
    SetCameraFault("");
    m_sound = std::make_unique<SoundServer>();
    if (!m_sound->ok()) return;
    m_sound->UseInThisProcess();
    if (viaAlsa) SoundServer::ForgetInThisProcess();
}

DeviceRig::~DeviceRig() {
    ::unsetenv("CS_VCAM_CONTROL");
    SoundServer::ForgetInThisProcess();
    ::unsetenv("ALSA_CONFIG_PATH");
}

void DeviceRig::SetCameraFault(const std::string& faults) {
    QFile f(m_dir.filePath("camera-faults"));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(faults.c_str());
}

ToneSpan MeasureTone(const Readback& rb) {
    ToneSpan span;
    if (rb.sampleRate <= 0 || rb.audio.empty()) return span;
    const size_t window = size_t(rb.sampleRate / 50);
    auto timeOf = [&](size_t sample) { return rb.audioStart + double(sample) / rb.sampleRate; };
    size_t firstLoud = SIZE_MAX, lastLoud = 0, quietRun = 0, longestQuiet = 0;
    for (size_t at = 0; at + window <= rb.audio.size(); at += window) {
        double energy = 0;
        for (size_t i = at; i < at + window; ++i) energy += double(rb.audio[i]) * rb.audio[i];
        const bool loud = std::sqrt(energy / double(window)) > 0.1;
        if (loud) {
            if (firstLoud == SIZE_MAX) firstLoud = at;
            lastLoud = at + window;
            longestQuiet = std::max(longestQuiet, quietRun);
            quietRun = 0;
        } else if (firstLoud != SIZE_MAX) {
            quietRun += window;
        }
    }
    if (firstLoud == SIZE_MAX) return span;
    span.first = timeOf(firstLoud);
    span.last = timeOf(lastLoud);
    span.longestGap = double(longestQuiet) / rb.sampleRate;
    // The median over quarter seconds: a seam where sound was trimmed or filled does not
    // move it.
    const size_t quarter = size_t(rb.sampleRate / 4);
    std::vector<double> rates;
    for (size_t at = firstLoud; at + quarter <= lastLoud; at += quarter) {
        int crossings = 0;
        for (size_t i = at + 1; i < at + quarter; ++i)
            if (rb.audio[i - 1] < 0 && rb.audio[i] >= 0) ++crossings;
        rates.push_back(crossings * 4.0);
    }
    if (!rates.empty()) {
        std::nth_element(rates.begin(), rates.begin() + long(rates.size() / 2), rates.end());
        span.frequency = rates[rates.size() / 2];
    }
    return span;
}

double MeanGrey(const QImage& grey, double left, double top, double right, double bottom) {
    const int x0 = int(left * grey.width()), x1 = int(right * grey.width());
    const int y0 = int(top * grey.height()), y1 = int(bottom * grey.height());
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) sum += grey.constScanLine(y)[x];
    return sum / std::max(1.0, double(x1 - x0) * (y1 - y0));
}

double Combing(const QImage& grey, double top, double bottom) {
    const int y0 = std::max(1, int(top * grey.height())), y1 = std::min(grey.height() - 1, int(bottom * grey.height()));
    double sum = 0;
    for (int y = y0; y < y1; ++y) {
        const uchar *up = grey.constScanLine(y - 1), *row = grey.constScanLine(y), *down = grey.constScanLine(y + 1);
        for (int x = 0; x < grey.width(); ++x) sum += std::abs(row[x] - (up[x] + down[x]) / 2.0);
    }
    return sum / std::max(1.0, double(grey.width()) * (y1 - y0));
}

const QImage& NonFlashPicture(const Readback& rb) {
    return MeanGrey(rb.lastPicture, 0, 0.2, 1, 1) < 200 ? rb.lastPicture : rb.pictureBeforeLast;
}

double FractionOfSingleSteps(const Readback& rb) {
    int single = 0, steps = 0;
    for (size_t i = 1; i < rb.frames.size(); ++i) {
        if (rb.frames[i].counter < 0 || rb.frames[i - 1].counter < 0) continue;
        ++steps;
        if (rb.frames[i].counter - rb.frames[i - 1].counter == 1) ++single;
    }
    return steps ? double(single) / steps : 0;
}

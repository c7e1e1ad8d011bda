// Makes whole frames of interlaced pictures (two fields woven into each frame), one frame out
// for each frame in, with FFmpeg's bwdif filter.
#pragma once

#include "component/media/FfmpegHandles.h"
#include "component/media/Result.h"

#include <memory>

struct AVFilterGraph;
struct AVFilterContext;

namespace component {

class Deinterlacer {
public:
    // For pictures of this size and pixel format; `bottomFirst` when the bottom field is the
    // earlier one (NTSC), else the top.
    static Result<std::unique_ptr<Deinterlacer>> Create(int width, int height, int pixelFormat,
                                                        bool bottomFirst);
    ~Deinterlacer();
    Deinterlacer(const Deinterlacer&) = delete;
    Deinterlacer& operator=(const Deinterlacer&) = delete;

    // Hands in a picture taken at `timeUs`. The filter looks one picture ahead, so the first
    // one comes out with the second.
    bool Push(const AVFrame* frame, int64_t timeUs);
    // The next whole frame, with its capture time; nullptr when none is ready. It stays
    // valid until the next Pull.
    const AVFrame* Pull(int64_t* timeUs);

private:
    Deinterlacer() = default;
    AVFilterGraph* m_graph = nullptr;
    AVFilterContext* m_source = nullptr;
    AVFilterContext* m_sink = nullptr;
    FramePtr m_in;
    FramePtr m_out;
};

}  // namespace component

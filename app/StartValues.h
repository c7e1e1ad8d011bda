// The output values a camera's format suggests: until the user sets the output dialog's size
// or rate, a recording takes the camera's picture as it comes, within what the encoder is
// meant for here.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

struct OutputPicture {
    int16_t width = 0;
    int16_t height = 0;
    float frameRate = 0;
    bool operator==(const OutputPicture&) const = default;
};

// The most a followed format gives: full HD at 30 pictures a second.
inline constexpr int kMostFollowedWidth = 1920;
inline constexpr int kMostFollowedHeight = 1080;
inline constexpr int kMostFollowedRate = 30;

// The picture of a format as the control names it ("1280x720 MJPG 30 fps", "720x480 YUYV
// 29.97 fps"), brought within those limits (shape kept, sides even, rate a whole number);
// nothing for a name that says no size.
std::optional<OutputPicture> OutputForFormat(const QString& formatName);

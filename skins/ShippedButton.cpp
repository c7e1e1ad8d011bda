#include "ShippedButton.h"

#include <array>

namespace {

constexpr std::array<ShippedButton, 14> kCommands = {{
    {"BUTTON_PLAY", "play.bmp", Glyph::Play, CommandGroup::Transport, "Preview", "", ""},
    {"BUTTON_PAUSE", "pause.bmp", Glyph::Pause, CommandGroup::Transport, "Pause", "", ""},
    {"BUTTON_STOP", "stop.bmp", Glyph::Stop, CommandGroup::Transport, "Stop", "", ""},
    {"BUTTON_CONVERT", "record.bmp", Glyph::Record, CommandGroup::Transport,
     "Record to FLV file", "", ""},
    {"BUTTON_STREAM", "stream.bmp", Glyph::Stream, CommandGroup::Transport, "Go live", "", ""},
    {"BUTTON_SNAPSHOT", "snapshot.bmp", Glyph::Camera, CommandGroup::Transport, "Take snapshot", "", ""},
    {"BUTTON_MINIMIZE", "minimize.bmp", Glyph::Minimize, CommandGroup::Window, "Minimize", "", ""},
    {"BUTTON_CLOSE", "close.bmp", Glyph::Close, CommandGroup::Window, "Close", "", ""},
    {"BUTTON_VIDEODEVICE", "video.bmp", Glyph::VideoDevice, CommandGroup::Settings,
     "Video device", "Video device", "Video"},
    {"BUTTON_AUDIODEVICE", "audio.bmp", Glyph::AudioDevice, CommandGroup::Settings,
     "Audio device", "Audio device", "Audio"},
    {"BUTTON_DATATIME", "datetime.bmp", Glyph::DateTime, CommandGroup::Settings,
     "Date-time stamp", "Date & time", "Time stamp"},
    {"BUTTON_OVERLAYTEXT", "text.bmp", Glyph::OverlayText, CommandGroup::Settings,
     "Text overlay", "Text overlay", "Text"},
    {"BUTTON_OVERLAYIMAGE", "picture.bmp", Glyph::OverlayImage, CommandGroup::Settings,
     "Picture overlay", "Picture overlay", "Picture"},
    {"BUTTON_WMVPROFILE", "output.bmp", Glyph::OutputProperties, CommandGroup::Settings,
     "Output properties", "Output", "Output"},
}};

}  // namespace

std::span<const ShippedButton> ShippedButtons() { return kCommands; }

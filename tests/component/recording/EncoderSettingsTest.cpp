#include "component/recording/EncoderSettings.h"

#include <gtest/gtest.h>

using component::EncoderSettings;
using component::FlvValues;
using component::ResolveEncoderSettings;

namespace {

FlvValues DialogValues() {  // what the FLV dialog starts with
    FlvValues v;
    v.audioBitrate = 128000;
    v.videoBitrate = 512000;
    v.videoWidth = 320;
    v.videoHeight = 240;
    v.frameRate = 25;
    v.audioChannels = 2;
    v.audioSampleRate = 44100;
    return v;
}

TEST(EncoderSettings, DefaultsAndDialogValuesAreTakenAsTheyAre) {
    for (const FlvValues& v : {FlvValues{}, DialogValues()}) {
        auto r = ResolveEncoderSettings(v);
        ASSERT_TRUE(r) << r.Error();
        const auto& s = *r;
        EXPECT_EQ(s.width, v.videoWidth);
        EXPECT_EQ(s.height, v.videoHeight);
        EXPECT_EQ(s.frameRate, v.frameRate);
        EXPECT_EQ(s.videoBitrate, v.videoBitrate);
        EXPECT_EQ(s.audioBitrate, v.audioBitrate);
        EXPECT_EQ(s.channels, v.audioChannels);
        EXPECT_EQ(s.sampleRate, v.audioSampleRate);
    }
}

TEST(EncoderSettings, AdaptsWhatCanBeAdapted) {
    struct Row {
        const char* name;
        void (*change)(FlvValues&);
        int width, height, sampleRate;
    };
    const Row rows[] = {
        {"odd width", [](FlvValues& v) { v.videoWidth = 321; }, 320, 240, 44100},
        {"odd height", [](FlvValues& v) { v.videoHeight = 17; }, 320, 16, 44100},
        {"44 kHz", [](FlvValues& v) { v.audioSampleRate = 44000; }, 320, 240, 44100},
        {"7.4 kHz", [](FlvValues& v) { v.audioSampleRate = 7400; }, 320, 240, 7350},
        {"47 kHz", [](FlvValues& v) { v.audioSampleRate = 47000; }, 320, 240, 48000},
        {"96 kHz", [](FlvValues& v) { v.audioSampleRate = 96000; }, 320, 240, 96000},
    };
    for (const Row& row : rows) {
        FlvValues v = DialogValues();
        row.change(v);
        auto r = ResolveEncoderSettings(v);
        ASSERT_TRUE(r) << row.name;
        EXPECT_EQ(r->width, row.width) << row.name;
        EXPECT_EQ(r->height, row.height) << row.name;
        EXPECT_EQ(r->sampleRate, row.sampleRate) << row.name;
    }
}

TEST(EncoderSettings, RefusesWhatTheEncodersCannotDoAndSaysWhich) {
    struct Row {
        void (*change)(FlvValues&);
        const char* reasonPart;
    };
    const Row rows[] = {
        {[](FlvValues& v) { v.videoWidth = 0; }, "width"},
        {[](FlvValues& v) { v.videoWidth = 15; }, "width"},
        {[](FlvValues& v) { v.videoWidth = 4097; }, "width"},
        {[](FlvValues& v) { v.videoHeight = -240; }, "height"},
        {[](FlvValues& v) { v.frameRate = 0; }, "frame rate"},
        {[](FlvValues& v) { v.frameRate = 121; }, "frame rate"},
        {[](FlvValues& v) { v.videoBitrate = 0; }, "video bitrate"},
        {[](FlvValues& v) { v.audioBitrate = -1; }, "audio bitrate"},
        {[](FlvValues& v) { v.audioChannels = 0; }, "channels"},
        {[](FlvValues& v) { v.audioChannels = 6; }, "channels"},
        {[](FlvValues& v) { v.audioSampleRate = 0; }, "sample rate"},
        {[](FlvValues& v) { v.audioSampleRate = 192000; }, "sample rate"},
    };
    for (const Row& row : rows) {
        FlvValues v = DialogValues();
        row.change(v);
        auto r = ResolveEncoderSettings(v);
        ASSERT_FALSE(r) << row.reasonPart;
        EXPECT_NE(r.Error().find(row.reasonPart), std::string::npos) << r.Error();
    }
    // The limits themselves are accepted.
    FlvValues edge = DialogValues();
    edge.videoWidth = 16;
    edge.videoHeight = 4096;
    edge.frameRate = 120;
    edge.audioChannels = 1;
    edge.audioSampleRate = 7350;
    EXPECT_TRUE(ResolveEncoderSettings(edge));
}

}  // namespace

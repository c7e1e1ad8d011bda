#include "DialogTemplates.h"

#include "DialogIds.h"

using platform::ControlTemplate;
using platform::kNoId;

namespace {

constexpr auto kStatic = platform::ControlKind::Static;
constexpr auto kGroup = platform::ControlKind::GroupBox;
constexpr auto kPush = platform::ControlKind::PushButton;
constexpr auto kCheck = platform::ControlKind::CheckBox;
constexpr auto kEdit = platform::ControlKind::Edit;
constexpr auto kList = platform::ControlKind::DropDownList;
constexpr bool kDisabled = true;

constexpr const char* kFont = "Cambria";
constexpr int kFontPoints = 10;

namespace V = VideoDeviceIds;
const ControlTemplate kVideoDeviceControls[] = {
    {kNoId, kStatic, "Video Device", 14, 18, 51, 9},
    {V::kDeviceList, kList, "", 78, 17, 106, 81},
    {kNoId, kStatic, "Video Format", 13, 37, 51, 9},
    {V::kFormatList, kList, "", 78, 36, 106, 81},
    {kNoId, kStatic, "Video Input", 13, 58, 51, 9},
    {V::kInputList, kList, "", 78, 57, 106, 81},
    {kNoId, kStatic, "Video Standard", 13, 78, 62, 9},
    {V::kStandardList, kList, "", 78, 77, 106, 81},
    {V::kDeinterlaceCheck, kCheck, "Deinterlace", 78, 96, 106, 10},
    {kNoId, kGroup, "", 7, 7, 180, 106},
    {V::kControlsButton, kPush, "Controls…", 13, 117, 45, 11},
    {V::kOk, kPush, "Ok", 115, 117, 31, 11},
    {V::kCancel, kPush, "Cancel", 153, 117, 31, 11},
};

namespace A = AudioDeviceIds;
const ControlTemplate kAudioDeviceControls[] = {
    {kNoId, kStatic, "Audio Device", 14, 16, 51, 9},
    {A::kDeviceList, kList, "", 85, 15, 106, 81},
    {kNoId, kStatic, "Audio Input", 13, 35, 51, 9},
    {A::kInputList, kList, "", 85, 34, 106, 81},
    {kNoId, kGroup, "", 7, 7, 186, 82},
    {A::kOk, kPush, "Ok", 122, 95, 31, 11},
    {A::kCancel, kPush, "Cancel", 161, 95, 31, 11},
    {A::kSyncModeLabel, kStatic, "Sync Mode", 13, 54, 51, 9},
    {A::kSyncModeList, kList, "", 85, 53, 106, 81},
    {kNoId, kStatic, "Audio Offset", 15, 74, 44, 10},
    {A::kOffsetEdit, kEdit, "", 86, 73, 35, 12},
    {kNoId, kStatic, "ms", 145, 75, 24, 9},
};

namespace D = DateTimeIds;
const ControlTemplate kDateTimeControls[] = {
    {kNoId, kStatic, "Font Style", 23, 26, 51, 11},
    {kNoId, kStatic, "DataTime Color", 22, 86, 55, 9},
    {D::kFontStyleList, kList, "", 78, 25, 67, 66},
    {kNoId, kStatic, "Font Name", 23, 45, 51, 11},
    {D::kFontNameList, kList, "", 78, 44, 67, 66},
    {kNoId, kStatic, "Font Size", 22, 66, 51, 11},
    {D::kFontSizeList, kList, "", 78, 65, 34, 66},
    {D::kColour, kPush, "Change", 82, 85, 29, 11},
    {D::kShow, kCheck, "Show Data Time", 155, 65, 67, 11},
    {kNoId, kStatic, "Left", 157, 27, 24, 9},
    {D::kLeftEdit, kEdit, "", 182, 25, 26, 12},
    {kNoId, kStatic, "Top", 223, 27, 24, 9},
    {D::kTopEdit, kEdit, "", 249, 25, 26, 12},
    {kNoId, kStatic, "Format", 157, 45, 51, 11},
    {D::kFormatList, kList, "", 211, 44, 67, 66},
    {D::kDrawTime, kPush, "Draw Time", 231, 63, 46, 13},
    {kNoId, kGroup, "DateTime", 14, 13, 267, 86},
    {D::kOk, kPush, "Ok", 192, 101, 40, 14},
    {D::kCancel, kPush, "Cancel", 238, 101, 40, 14},
};

namespace T = OverlayTextIds;
const ControlTemplate kOverlayTextControls[] = {
    {T::kUseOverlay, kCheck, "Use Overlay", 15, 19, 54, 9},
    {kNoId, kStatic, "Rotate", 13, 50, 31, 9},
    {T::kRotationList, kList, "", 70, 49, 191, 102},
    {kNoId, kStatic, "Invert Color", 14, 68, 41, 10},
    {T::kInvert, kCheck, "On", 77, 68, 37, 10},
    {kNoId, kStatic, "GrayScale", 135, 68, 41, 10},
    {T::kGreyScale, kCheck, "On", 197, 68, 37, 10},
    {kNoId, kGroup, "", 7, 32, 307, 50},
    {kNoId, kStatic, "Font Style", 16, 91, 40, 10},
    {T::kFontStyleList, kList, "", 59, 90, 100, 63},
    {kNoId, kStatic, "Font Name", 15, 110, 40, 10},
    {T::kFontNameList, kList, "", 59, 109, 100, 63},
    {kNoId, kStatic, "Font Size", 16, 130, 40, 10},
    {T::kFontSizeList, kList, "", 59, 129, 58, 63},
    {kNoId, kStatic, "Text Style", 15, 148, 40, 10},
    {T::kTextStyleList, kList, "", 59, 147, 100, 63},
    {kNoId, kStatic, "Left", 17, 166, 26, 11},
    {T::kLeftEdit, kEdit, "", 60, 166, 30, 12},
    {kNoId, kStatic, "Top", 95, 166, 26, 11},
    {T::kTopEdit, kEdit, "", 130, 165, 30, 12},
    {kNoId, kStatic, "Text1", 18, 186, 30, 10},
    {T::kText1Edit, kEdit, "", 60, 182, 101, 14},
    {kNoId, kStatic, "Text2", 17, 205, 30, 10},
    {T::kText2Edit, kEdit, "", 60, 201, 101, 14},
    {T::kDrawText, kPush, "Draw Text", 121, 222, 40, 11},
    {T::kShowText, kCheck, "Show Text", 17, 221, 44, 11},
    {kNoId, kStatic, "Font Color", 177, 98, 34, 10},
    {T::kFontColour, kPush, "Change", 249, 97, 37, 12},
    {kNoId, kStatic, "OutLine Border", 177, 130, 66, 11},
    {T::kOutlineColour, kPush, "Change", 249, 129, 37, 12, kDisabled},
    {kNoId, kStatic, "Outline Back Color", 177, 147, 71, 9},
    {T::kOutlineBackColour, kPush, "Change", 249, 145, 37, 12, kDisabled},
    {kNoId, kGroup, "Normal", 166, 84, 142, 27},
    {kNoId, kGroup, "Outline", 166, 113, 146, 48},
    {kNoId, kStatic, "Style", 177, 175, 24, 9},
    {T::kHatchStyleList, kList, "", 207, 173, 79, 64, kDisabled},
    {kNoId, kStatic, "ForeColor", 178, 191, 35, 11},
    {T::kHatchForeColour, kPush, "Change", 225, 188, 37, 12, kDisabled},
    {kNoId, kStatic, "BackColor", 178, 209, 40, 9},
    {T::kHatchBackColour, kPush, "Change", 226, 205, 37, 12, kDisabled},
    {kNoId, kGroup, "Hash Brush", 167, 162, 143, 64},
    {kNoId, kStatic, "Image File", 177, 239, 37, 9},
    {T::kSelectTexture, kPush, "Select Image", 178, 257, 50, 9, kDisabled},
    {kNoId, kGroup, "Texture Brush", 169, 230, 140, 46},
    {kNoId, kGroup, "Text", 7, 7, 308, 276},
    {T::kOk, kPush, "Ok", 230, 284, 38, 15},
    {T::kCancel, kPush, "Cancel", 277, 284, 38, 15},
    {T::kTextureFileEdit, kEdit, "", 218, 238, 85, 12, kDisabled},
};

namespace I = OverlayImageIds;
const ControlTemplate kOverlayImageControls[] = {
    {kNoId, kStatic, "Left", 18, 18, 25, 9},
    {I::kLeftEdit, kEdit, "", 45, 17, 29, 12},
    {kNoId, kStatic, "Top", 85, 18, 25, 9},
    {I::kTopEdit, kEdit, "", 112, 17, 29, 12},
    {kNoId, kStatic, "Image", 17, 37, 25, 9},
    {I::kFileEdit, kEdit, "", 47, 36, 185, 14},
    {I::kSelectImage, kPush, "Select Image", 242, 37, 47, 9},
    {kNoId, kStatic, "Transparent Color", 18, 60, 48, 9},
    {I::kTransparentColour, kPush, "Change", 67, 58, 37, 13},
    {kNoId, kStatic, "Transparent Color Alpha 0-255", 117, 60, 98, 11},
    {I::kAlphaEdit, kEdit, "", 226, 58, 34, 13},
    {I::kShowImage, kCheck, "Show Image", 20, 82, 54, 10},
    {I::kDrawImage, kPush, "Draw Image", 86, 79, 41, 15},
    {kNoId, kGroup, "Image", 7, 7, 291, 93},
    {I::kOk, kPush, "Ok", 223, 104, 35, 16},
    {I::kCancel, kPush, "Cancel", 263, 104, 35, 16},
};

namespace F = FlvIds;
const ControlTemplate kFlvPropertiesControls[] = {
    {kNoId, kStatic, "Video Bitrate", 15, 15, 68, 10},
    {F::kVideoBitrateEdit, kEdit, "", 91, 13, 47, 13},
    {kNoId, kStatic, "Width", 150, 15, 68, 10},
    {F::kWidthEdit, kEdit, "", 229, 14, 47, 13},
    {kNoId, kStatic, "Audio Bitrate", 14, 34, 68, 10},
    {F::kAudioBitrateEdit, kEdit, "", 90, 32, 47, 13},
    {kNoId, kStatic, "Height", 150, 34, 68, 10},
    {F::kHeightEdit, kEdit, "", 229, 33, 47, 13},
    {kNoId, kStatic, "Audio Channel", 15, 52, 68, 10},
    {F::kChannelsEdit, kEdit, "", 91, 50, 47, 13},
    {kNoId, kStatic, "Frame Rate", 150, 52, 68, 10},
    {F::kFrameRateEdit, kEdit, "", 229, 51, 47, 13},
    {kNoId, kStatic, "Audio Sample Rate", 16, 71, 68, 10},
    {F::kSampleRateEdit, kEdit, "", 92, 69, 47, 13},
    {kNoId, kGroup, "", 7, 7, 272, 80},
    {F::kOk, kPush, "Ok", 191, 92, 40, 13},
    {F::kCancel, kPush, "Cancel", 239, 92, 40, 13},
};

namespace L = LiveStreamIds;
const ControlTemplate kLiveStreamControls[] = {
    {kNoId, kStatic, "Destination", 12, 15, 52, 10},
    {L::kDestinationList, kList, "", 66, 13, 104, 80},
    {L::kDestinationOn, kCheck, "On", 174, 14, 28, 11},
    {L::kAddDestination, kPush, "Add", 204, 13, 32, 13},
    {L::kRemoveDestination, kPush, "Remove", 240, 13, 34, 13},
    {kNoId, kStatic, "Server URL", 12, 34, 52, 10},
    {L::kServerEdit, kEdit, "", 66, 32, 208, 13},
    {kNoId, kStatic, "Stream key", 12, 53, 52, 10},
    {L::kKeyEdit, kEdit, "", 66, 51, 160, 13},
    {L::kShowKey, kCheck, "Show", 232, 52, 42, 11},
    {L::kRecordCopy, kCheck, "Also record to a file", 66, 71, 150, 11},
    {kNoId, kGroup, "", 7, 5, 272, 83},
    {L::kKeyNote, kStatic, "", 7, 91, 180, 18},
    {L::kOk, kPush, "Ok", 191, 93, 40, 13},
    {L::kCancel, kPush, "Cancel", 239, 93, 40, 13},
};

}  // namespace

const platform::DialogTemplate kVideoDeviceTemplate{
    133, "Video Device", kFont, kFontPoints, 198, 135, kVideoDeviceControls};
const platform::DialogTemplate kAudioDeviceTemplate{
    134, "Audio Device", kFont, kFontPoints, 205, 113, kAudioDeviceControls};
const platform::DialogTemplate kDateTimeTemplate{
    135, "Data Time", kFont, kFontPoints, 293, 122, kDateTimeControls};
const platform::DialogTemplate kOverlayTextTemplate{
    136, "Overlay Text", kFont, kFontPoints, 322, 306, kOverlayTextControls};
const platform::DialogTemplate kOverlayImageTemplate{
    137, "Overlay Image", kFont, kFontPoints, 305, 127, kOverlayImageControls};
const platform::DialogTemplate kFlvPropertiesTemplate{
    139, "FLV Properties", kFont, kFontPoints, 286, 112, kFlvPropertiesControls};
const platform::DialogTemplate kLiveStreamTemplate{
    140, "Live Stream", kFont, kFontPoints, 286, 113, kLiveStreamControls};

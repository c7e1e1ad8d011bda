// Control ids of the six settings dialogs' templates.
#pragma once

namespace VideoDeviceIds {
enum : int {
    kDeviceList = 1005,
    kFormatList = 1006,
    kInputList = 1007,
    kOk = 1008,
    kCancel = 1009,
    kStandardList = 1100,
    kDeinterlaceCheck = 1101,
    kControlsButton = 1102,
};
}

namespace AudioDeviceIds {
enum : int {
    kOk = 1008,
    kCancel = 1009,
    kDeviceList = 1010,
    kInputList = 1011,
    kSyncModeList = 1013,
    kSyncModeLabel = 1052,
    kOffsetEdit = 1053,
};
}

namespace DateTimeIds {
enum : int {
    kDrawTime = 1003,
    kColour = 1008,
    kFontStyleList = 1012,
    kFontNameList = 1013,
    kFontSizeList = 1014,
    kShow = 1015,
    kLeftEdit = 1016,
    kTopEdit = 1017,
    kFormatList = 1018,
    kOk = 1019,
    kCancel = 1020,
};
}

namespace OverlayTextIds {
enum : int {
    kOutlineBackColour = 1005,
    kHatchForeColour = 1006,
    kHatchBackColour = 1007,
    kFontStyleList = 1012,
    kFontNameList = 1013,
    kFontSizeList = 1014,
    kLeftEdit = 1016,
    kTopEdit = 1017,
    kOk = 1019,
    kCancel = 1020,
    kRotationList = 1023,
    kInvert = 1024,
    kGreyScale = 1025,
    kTextStyleList = 1029,
    kShowText = 1034,
    kHatchStyleList = 1035,
    kTextureFileEdit = 1042,
    kText1Edit = 1043,
    kText2Edit = 1044,
    kUseOverlay = 1045,
    kFontColour = 1046,
    kDrawText = 1047,
    kSelectTexture = 1048,
    kOutlineColour = 1049,
};
}

namespace OverlayImageIds {
enum : int {
    kDrawImage = 1004,
    kOk = 1009,
    kCancel = 1010,
    kLeftEdit = 1016,
    kTopEdit = 1017,
    kShowImage = 1022,
    kFileEdit = 1032,
    kAlphaEdit = 1033,
    kSelectImage = 1050,
    kTransparentColour = 1051,
};
}

namespace FlvIds {
enum : int {
    kVideoBitrateEdit = 1055,
    kWidthEdit = 1056,
    kAudioBitrateEdit = 1057,
    kHeightEdit = 1058,
    kChannelsEdit = 1059,
    kFrameRateEdit = 1060,
    kOk = 1061,
    kSampleRateEdit = 1062,
    kCancel = 1063,
};
}

namespace LiveStreamIds {
enum : int {
    kServerEdit = 1070,
    kKeyEdit = 1071,
    kShowKey = 1072,
    kRecordCopy = 1073,
    kOk = 1074,
    kCancel = 1075,
    kKeyNote = 1076,
    kDestinationList = 1077,
    kDestinationOn = 1078,
    kAddDestination = 1079,
    kRemoveDestination = 1080,
};
}

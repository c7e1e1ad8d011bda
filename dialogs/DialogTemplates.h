// The templates of the settings dialogs.
#pragma once

#include "platform/DialogTemplate.h"

extern const platform::DialogTemplate kVideoDeviceTemplate;   // 133
extern const platform::DialogTemplate kAudioDeviceTemplate;   // 134
extern const platform::DialogTemplate kDateTimeTemplate;      // 135
extern const platform::DialogTemplate kOverlayTextTemplate;   // 136
extern const platform::DialogTemplate kOverlayImageTemplate;  // 137
extern const platform::DialogTemplate kFlvPropertiesTemplate; // 139
extern const platform::DialogTemplate kLiveStreamTemplate;    // 140

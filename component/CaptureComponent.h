// Makes the capture control available to the control container under its class id.
#pragma once

void RegisterCaptureComponent();

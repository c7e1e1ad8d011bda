// The program's icon, drawn in code: a small camera. The window uses it at run time and the
// build writes it into the desktop's icon theme, so both show the same picture.
#pragma once

#include <QIcon>
#include <QImage>

// The icon as one square picture of `size` pixels, transparent around the camera.
QImage DrawAppIcon(int size);

// The sizes the window offers to the window system.
QIcon MakeAppIcon();

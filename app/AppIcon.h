// The program's icon, drawn once: a small camera.
#pragma once

#include <QIcon>

QIcon MakeAppIcon();

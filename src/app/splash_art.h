#pragma once

#include <QPixmap>

// The splash window's background picture, drawn once at its design size.
QPixmap paintSplashBackground(int width, int height);

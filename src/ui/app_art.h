#pragma once

#include <QIcon>
#include <QImage>

// The program's drawn artwork: the toolbar's image list and the window icon.
namespace appart {

constexpr int kToolbarImages = 13;

// Image `index` of the toolbar's image list (0..12).
QIcon toolbarImage(int index);
// The main window's icon: a small stack of gold bars. It is the program's
// icon everywhere: windows, tray, desktop launcher.
QIcon windowIcon();
// That icon drawn at `size` × `size` pixels.
QImage windowIconImage(int size);

} // namespace appart

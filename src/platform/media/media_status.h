#pragma once

#include "platform/media_player.h"

class QMediaPlayer;

namespace mediastatus {

// What a Qt Multimedia player is doing, in the program's terms. A GStreamer
// player that failed still reports its playing state, so its error decides
// first.
MediaPlayer::Status of(const QMediaPlayer& player);

} // namespace mediastatus

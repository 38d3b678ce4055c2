#include "fake_services.h"

FakeServices::FakeServices()
    : services{.dialogs = &dialogs,
               .http = &http,
               .clock = &clock,
               .random = &random,
               .launcher = &launcher,
               .screen = &screen,
               .audio = &audio,
               .mediaPlayer = &mediaPlayer,
               .systemVolume = &systemVolume,
               .tray = &tray,
               .autostart = &autostart,
               .webViews = &webViews,
               .webCache = &webCache,
               .notifications = &notifications,
               .quit = [this](int code) { quitCodes.append(code); }} {}

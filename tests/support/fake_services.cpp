#include "fake_services.h"

FakeServices::FakeServices()
    : services{&dialogs,
               &http,
               &clock,
               &random,
               &launcher,
               &screen,
               [this](int code) { quitCodes.append(code); }} {}

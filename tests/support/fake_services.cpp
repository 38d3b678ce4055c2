#include "fake_services.h"

FakeServices::FakeServices()
    : services{&dialogs, &http, &clock, &random, [this](int code) { quitCodes.append(code); }} {}

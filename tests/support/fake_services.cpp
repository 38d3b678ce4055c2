#include "fake_services.h"

FakeServices::FakeServices() : services(servicesOf(*this, [this](int code) { quitCodes.append(code); })) {}

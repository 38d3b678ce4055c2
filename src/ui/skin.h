#pragma once

// The skin "CambridgeBlue.she" beside the program is a Qt style sheet for the
// whole application; without it the system look stays.
void attachSkin();

#pragma once

#include "settings/settings_keys.h"

#include <QString>
#include <QStringList>

// Creates the files an installation carries in a program directory. The
// program itself never creates them.
namespace provision {

struct Options {
    QString dir;              // the program directory
    QString portal;           // host[:port] every demo endpoint points at
    bool portalGiven = false; // rewrite the endpoint keys even when present
    bool reset = false;       // start the files afresh
    // A directory whose config.ini and endpoints.ini give the values of the
    // keys a file lacks, before the built-in defaults (an installation's
    // defaults, which whoever installs may edit).
    QString templateDir = {};
};

struct Endpoint {
    QString key;
    QString value;
    bool onPortal; // served by the data portal, so it follows --portal
};

// The value a new program directory's config.ini gets for `info`.
QString firstValue(const settings::KeyInfo& info);

// The endpoint keys and their values for a portal at `portal`.
QList<Endpoint> endpointDefaults(const QString& portal);

// Returns the problems met; empty on success.
QStringList run(const Options& options);

} // namespace provision

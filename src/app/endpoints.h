#pragma once

#include <QString>

// Hosts and addresses of every outside endpoint, read from "endpoints.ini"
// (UTF-8, section [endpoints]) in the program directory.
namespace endpoints {

// The value of `key`, empty when the file or the key is missing.
QString value(const QString& key);

} // namespace endpoints

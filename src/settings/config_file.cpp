#include "config_file.h"

#include "core/app_dir.h"

namespace settings {

ConfigFile ConfigFile::program() {
    return ConfigFile(appPath(QStringLiteral("config.ini")));
}

} // namespace settings

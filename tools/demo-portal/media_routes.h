#pragma once

#include <QString>

class QHttpServer;

namespace demoportal {

class PriceWalk;

// The pages and streams of the media tools: a live TV stream per channel (an
// HLS playlist that loops a short clip made at build time, found in
// `tvClipDir`), a page for every link of the reference browser's tree under
// /ref/SITE/..., the chart provider's home page /cn/, and the unit converter
// page /gold/convert.htm priced from the walk.
void addMediaRoutes(QHttpServer& server, const PriceWalk& walk, const QString& tvClipDir);

// Where the build puts the TV clips: "demo-tv" beside the portal program.
QString defaultTvClipDir();

} // namespace demoportal

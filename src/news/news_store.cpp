#include "news_store.h"

#include "core/app_dir.h"
#include "news_list.h"
#include "records/passwords.h"
#include "records/record_file.h"

namespace newsstore {

namespace {

bool openNews(RecordFile& file, bool readOnly = false) {
    const QString path = appPath(recordpasswords::kNewsFile);
    const QString password = recordpasswords::newsPassword();
    const auto fields = recordpasswords::newsFields();
    if (!(readOnly ? file.openForReading(path, password, fields) : file.open(path, password, fields)))
        return false;
    file.goFirst();
    return file.current() == 1;
}

int positionOf(const RecordFile& file) {
    // Any number is taken, truncated to a whole one.
    return int(file.read(recordpasswords::newsfield::line).toDouble());
}

} // namespace

std::optional<int> readPosition() {
    RecordFile file;
    if (!openNews(file, true))
        return std::nullopt;
    return positionOf(file);
}

std::optional<int> startRun(int lineCount) {
    RecordFile file;
    if (!openNews(file))
        return std::nullopt;
    const int stored = positionOf(file);
    const int start = newslist::runStart(stored, lineCount);
    if (start != stored && !file.modify({start}))
        file.cancel();
    if (!file.close())
        return std::nullopt;
    return start;
}

bool storePosition(int newsLine) {
    RecordFile file;
    if (!openNews(file))
        return false;
    if (!file.modify({newsLine}))
        file.cancel();
    return file.close();
}

} // namespace newsstore

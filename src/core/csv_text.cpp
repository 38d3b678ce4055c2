#include "csv_text.h"

#include <QSaveFile>

namespace csv {

QByteArray start() {
    return QByteArray("\xEF\xBB\xBF");
}

QByteArray line(const QStringList& cells) {
    QByteArray out;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += ',';
        QByteArray cell = cells[i].toUtf8();
        if (cell.contains(',') || cell.contains('"') || cell.contains('\n') || cell.contains('\r'))
            cell = '"' + cell.replace("\"", "\"\"") + '"';
        out += cell;
    }
    return out + "\r\n";
}

bool save(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace csv

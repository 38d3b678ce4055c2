#include "csv_export.h"

#include "core/csv_text.h"
#include "platform/dialogs.h"

void exportCsv(Dialogs& dialogs, QWidget* parent, const QString& suggestedName, const QString& title,
               const std::function<QByteArray()>& csv) {
    const QString path = dialogs.saveFile(parent, QStringLiteral("导出数据"), suggestedName,
                                          QStringLiteral("CSV 表格 (*.csv)"));
    if (path.isEmpty())
        return;
    if (!csv::save(path, csv()))
        dialogs.message(parent, QStringLiteral("数据未能保存到：%1").arg(path), title,
                        Dialogs::Icon::Warning);
}

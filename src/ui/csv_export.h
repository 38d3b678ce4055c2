#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class Dialogs;
class QWidget;

// "导出数据": asks where to save, suggesting `suggestedName`, and writes the
// table `csv` makes there whole or not at all; a file that could not be
// written is named in a warning titled `title`. Nothing when the user cancels.
void exportCsv(Dialogs& dialogs, QWidget* parent, const QString& suggestedName, const QString& title,
               const std::function<QByteArray()>& csv);

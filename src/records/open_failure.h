#pragma once

class Dialogs;
class QWidget;

// The one message every caller shows when a record file does not open:
// "数据库打开失败，请重新运行软件！" titled "友情提示：", OK only, no icon.
void showRecordOpenFailure(Dialogs& dialogs, QWidget* parent);

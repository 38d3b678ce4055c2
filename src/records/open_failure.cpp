#include "open_failure.h"

#include "platform/dialogs.h"

#include <QString>

void showRecordOpenFailure(Dialogs& dialogs, QWidget* parent) {
    dialogs.message(parent, QStringLiteral("数据库打开失败，请重新运行软件！"), QStringLiteral("友情提示："),
                    Dialogs::Icon::None, Dialogs::Buttons::Ok);
}

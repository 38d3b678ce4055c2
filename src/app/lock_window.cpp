#include "lock_window.h"

#include "platform/dialogs.h"
#include "platform/services.h"
#include "records/open_failure.h"
#include "trading/account_book.h"
#include "ui/app_art.h"
#include "ui/place.h"
#include "ui/window_alpha.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void LockWindow::lock(Services& services, QWidget* parent) {
    LockWindow window(services, parent);
    window.exec();
}

LockWindow::LockWindow(Services& services, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      services_(services) {
    setObjectName(QStringLiteral("锁定窗口"));
    setWindowTitle(QStringLiteral("系统锁定中..."));
    setFixedSize(355, 221);
    setModal(true);

    auto* picture = place<QLabel>(this, QStringLiteral("图片框1"), {10, 39, 160, 150});
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(appart::toolbarImage(10).pixmap(128, 128));
    place<QLabel>(this, QStringLiteral("标签1"), {46, 8, 282, 23},
                  QStringLiteral("请输入解锁密码，缺省为：526"));
    place<QLabel>(this, QStringLiteral("标签2"), {220, 39, 35, 20}, QStringLiteral("密码："));
    password_ = place<QLineEdit>(this, QStringLiteral("编辑框_密码框"), {258, 39, 80, 20});
    auto* unlockButton =
        place<QPushButton>(this, QStringLiteral("按钮_解锁"), {258, 60, 80, 22}, QStringLiteral("解锁"));
    place<QLabel>(this, QStringLiteral("标签5"), {237, 93, 50, 20}, QStringLiteral("修改密码"));
    place<QLabel>(this, QStringLiteral("标签3"), {194, 118, 60, 20}, QStringLiteral("原始密码："));
    currentPassword_ = place<QLineEdit>(this, QStringLiteral("编辑框_原始密码框"), {258, 118, 80, 20});
    place<QLabel>(this, QStringLiteral("标签4"), {210, 146, 44, 20}, QStringLiteral("新密码："));
    newPassword_ = place<QLineEdit>(this, QStringLiteral("编辑框_新密码框"), {258, 146, 80, 20});
    auto* changeButton = place<QPushButton>(this, QStringLiteral("按钮_确定修改"), {258, 167, 80, 22},
                                            QStringLiteral("确定修改"));
    for (QLineEdit* box : {password_, currentPassword_, newPassword_})
        box->setEchoMode(QLineEdit::Password);
    unlockButton->setDefault(true);
    connect(unlockButton, &QPushButton::clicked, this, &LockWindow::unlock);
    connect(changeButton, &QPushButton::clicked, this, &LockWindow::changePassword);

    setWindowAlpha(this, 245);
    move(centredPosition());
}

QPoint LockWindow::centredPosition() const {
    return centredOnScreen(this, services_.screen);
}

void LockWindow::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (isVisible() && pos() != centredPosition())
        move(centredPosition());
}

void LockWindow::unlock() {
    const std::optional<QString> stored = accountbook::lockPassword();
    if (!stored) {
        showRecordOpenFailure(*services_.dialogs, this);
        return; // stays locked
    }
    if (*stored == password_->text()) {
        release();
        return;
    }
    services_.dialogs->message(this, QStringLiteral("密码错误！"), QString());
}

void LockWindow::changePassword() {
    switch (accountbook::changeLockPassword(currentPassword_->text(), newPassword_->text())) {
    case accountbook::Status::Done:
        services_.dialogs->message(this, QStringLiteral("修改成功！"), QString());
        release();
        return;
    case accountbook::Status::Refused:
        services_.dialogs->message(this, QStringLiteral("原始密码错误！"), QString());
        return;
    default:
        showRecordOpenFailure(*services_.dialogs, this);
        return; // stays locked
    }
}

void LockWindow::release() {
    released_ = true;
    accept();
}

void LockWindow::reject() {
    if (released_)
        QDialog::reject();
}

void LockWindow::closeEvent(QCloseEvent* event) {
    if (released_)
        event->accept();
    else
        event->ignore();
}

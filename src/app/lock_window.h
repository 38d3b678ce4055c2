#pragma once

#include <QDialog>

class QLineEdit;
struct Services;

// "系统锁定中...": a small modal window over the main window that no close
// request removes. It goes away when the stored lock password is typed or
// changed. When the account file cannot be read, the program stays locked:
// a lock that opens when its file is gone would be no lock.
class LockWindow : public QDialog {
    Q_OBJECT
public:
    explicit LockWindow(Services& services, QWidget* parent = nullptr);
    // Locks the program until it is unlocked, in a fresh window every time:
    // nothing typed is remembered between lockings.
    static void lock(Services& services, QWidget* parent);

    void unlock();
    void changePassword();

public slots:
    // Escape and every other way to dismiss the window are refused while locked.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // The window stays centred: a drag by its title bar is undone.
    void moveEvent(QMoveEvent* event) override;

private:
    void release();
    QPoint centredPosition() const;

    Services& services_;
    QLineEdit* password_;
    QLineEdit* currentPassword_;
    QLineEdit* newPassword_;
    bool released_ = false;
};

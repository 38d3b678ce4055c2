#pragma once

#include <QImage>
#include <QObject>
#include <QString>

// The desktop's own notifications: its notification centre, which every
// desktop shows in its own way and silences in its do-not-disturb mode.
class Notifications : public QObject {
    Q_OBJECT
public:
    struct Note {
        QString title;
        QString body; // plain text, lines apart by '\n'
        QImage icon;
        // Urgent notes stay until the user dismisses them.
        bool critical = false;
        // The caption of the note's one action ("显示主窗口"); none when empty.
        QString action;
    };

    using QObject::QObject;

    // False while the desktop has no notification service.
    virtual bool isAvailable() const = 0;
    // Why notes cannot be shown now, in a sentence for the user; empty while they can.
    virtual QString unavailableReason() const = 0;
    // Hands the note to the desktop without waiting for it; false when there
    // is no service to take it.
    virtual bool show(const Note& note) = 0;

signals:
    // A notification service came or went.
    void availabilityChanged(bool available);
    // The user chose the action of one of this program's notes.
    void actionInvoked();
};

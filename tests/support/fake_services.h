#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/http.h"
#include "platform/launcher.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "platform/services.h"

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QQueue>

// Dialogs that answer from a script and never block. Unscripted messages are
// answered with OK (or Cancel for a confirmation-style box when told so).
class FakeDialogs : public Dialogs {
public:
    QList<Answer> answers;
    QQueue<QString> files;
    QQueue<std::optional<QFont>> fonts;
    Answer defaultAnswer = Answer::Ok;

    QString openFile(QWidget*, const QString&, const QString&) override {
        return files.isEmpty() ? QString() : files.dequeue();
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override {
        return fonts.isEmpty() ? std::nullopt : fonts.dequeue();
    }

    // The last message's text, or empty.
    QString lastText() const { return history().isEmpty() ? QString() : history().last().text; }

protected:
    Answer showMessage(QWidget*, const QString&, const QString&, Icon, Buttons) override {
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }
};

// Http whose requests wait until the test answers them.
class FakeHttp : public Http {
public:
    struct Request {
        QUrl url;
        QPointer<QObject> context;
        Reply reply;
        qint64 maxBytes;
    };
    QList<Request> pending;
    QList<QUrl> requested;

    void get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes) override {
        requested.append(url);
        pending.append({url, context, std::move(reply), maxBytes});
    }

    // Answers the oldest pending request; false when none is pending.
    bool answer(std::optional<QByteArray> body) {
        if (pending.isEmpty())
            return false;
        Request request = pending.takeFirst();
        if (request.context)
            request.reply(body ? std::optional<QByteArray>(body->left(request.maxBytes)) : std::nullopt);
        return true;
    }
};

class FakeClock : public Clock {
public:
    QDateTime current = QDateTime(QDate(2026, 12, 9), QTime(10, 0, 0));
    QDateTime now() const override { return current; }
};

// Draws from a script; when the script runs dry, the low end of the range.
class FakeRandom : public Random {
public:
    QList<int> values;
    QList<QPair<int, int>> ranges;

    int between(int low, int high) override {
        ranges.append({low, high});
        return values.isEmpty() ? low : values.takeFirst();
    }
};

class FakeLauncher : public Launcher {
public:
    QList<QUrl> opened;
    bool openUrl(const QUrl& url) override {
        opened.append(url);
        return true;
    }
};

class FakeScreen : public Screen {
public:
    QSize screenSize{1920, 1080};
    QSize size() const override { return screenSize; }
    QRect workArea() const override { return QRect(QPoint(0, 0), screenSize - QSize(0, 40)); }
};

// All fakes wired together, with quit() recorded instead of ending anything.
struct FakeServices {
    FakeDialogs dialogs;
    FakeHttp http;
    FakeClock clock;
    FakeRandom random;
    FakeLauncher launcher;
    FakeScreen screen;
    QList<int> quitCodes;
    Services services;

    FakeServices();
};

#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "support/fake_http.h"

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

    // Non-blocking messages still waiting for their OK.
    QList<std::function<void()>> openNotices;
    // Presses OK on every open notice.
    void acknowledgeNotices() {
        const auto notices = std::exchange(openNotices, {});
        for (const auto& closed : notices)
            if (closed)
                closed();
    }

    // The last message's text, or empty.
    QString lastText() const { return history().isEmpty() ? QString() : history().last().text; }

protected:
    Answer showMessage(QWidget*, const QString&, const QString&, Icon, Buttons) override {
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }
    void showNotice(QWidget*, const QString&, const QString&, std::function<void()> closed) override {
        openNotices.append(std::move(closed));
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

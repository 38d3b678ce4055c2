#include "state_dump.h"

#include "charts/chart_tabs.h"
#include "diagnostics/request_tally.h"
#include "platform/dialogs.h"
#include "platform/gbk.h"
#include "platform/timer.h"
#include "quotes/quote_model.h"
#include "ui/window_alpha.h"
#include "ui/x11_window.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QWindow>

namespace {

constexpr int kDumpIntervalMs = 500;

bool isQtInternal(const QObject* object) {
    return object->objectName().startsWith(QLatin1String("qt_"));
}

// Named by the program, and not a part of some Qt widget's insides (a tab
// bar's scroll buttons carry names of their own). A tab widget's pages are
// the program's, though they sit in a stack that Qt names as its own.
bool hasDesignName(const QObject* object, const QObject* window) {
    if (object->objectName().isEmpty() || isQtInternal(object))
        return false;
    for (const QObject* o = object->parent(); o && o != window; o = o->parent()) {
        if (isQtInternal(o) && o->objectName() != QLatin1String("qt_tabwidget_stackedwidget"))
            return false;
    }
    return true;
}

QJsonObject rectEntry(const QRect& rect) {
    return {{QStringLiteral("x"), rect.x()},
            {QStringLiteral("y"), rect.y()},
            {QStringLiteral("w"), rect.width()},
            {QStringLiteral("h"), rect.height()}};
}

// Like the box on screen, one mark a character: a test still sees that typing
// arrived, and the password never reaches the file.
QString maskedText(const QString& text) {
    return QString(text.toUcs4().size(), u'*');
}

QString controlText(const QObject* object) {
    if (auto* label = qobject_cast<const QLabel*>(object))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(object))
        return button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(object))
        return edit->echoMode() == QLineEdit::Normal ? edit->text() : maskedText(edit->text());
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(object))
        return edit->toPlainText();
    if (auto* edit = qobject_cast<const QTextEdit*>(object))
        return edit->toPlainText();
    if (auto* group = qobject_cast<const QGroupBox*>(object))
        return group->title();
    if (auto* combo = qobject_cast<const QComboBox*>(object))
        return combo->currentText();
    if (auto* menu = qobject_cast<const QMenu*>(object))
        return menu->title();
    if (auto* action = qobject_cast<const QAction*>(object))
        return action->text();
    if (auto* status = qobject_cast<const QStatusBar*>(object))
        return status->currentMessage();
    return {};
}

QJsonArray textsOf(const QStringList& list) {
    QJsonArray array;
    for (const QString& text : list)
        array.append(text);
    return array;
}

QJsonArray treeItems(const QTreeWidgetItem* parent) {
    QJsonArray array;
    for (int i = 0; i < parent->childCount(); ++i) {
        const QTreeWidgetItem* item = parent->child(i);
        array.append(item->text(0));
        if (item->childCount() > 0)
            array.append(treeItems(item));
    }
    return array;
}

QJsonArray tableRows(const QTableWidget* table) {
    QJsonArray rows;
    QJsonArray header;
    for (int c = 0; c < table->columnCount(); ++c) {
        const QTableWidgetItem* item = table->horizontalHeaderItem(c);
        header.append(item ? item->text() : QString());
    }
    rows.append(header);
    for (int r = 0; r < table->rowCount(); ++r) {
        QJsonArray row;
        for (int c = 0; c < table->columnCount(); ++c) {
            const QTableWidgetItem* item = table->item(r, c);
            row.append(item ? item->text() : QString());
        }
        rows.append(row);
    }
    return rows;
}

void addItems(const QObject* object, QJsonObject& entry) {
    if (auto* combo = qobject_cast<const QComboBox*>(object)) {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        entry[u"items"] = textsOf(texts);
        entry[u"current"] = combo->currentIndex();
    } else if (auto* table = qobject_cast<const QTableWidget*>(object)) {
        entry[u"items"] = tableRows(table);
        entry[u"current"] = table->currentRow();
    } else if (auto* list = qobject_cast<const QListWidget*>(object)) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        entry[u"items"] = textsOf(texts);
        entry[u"current"] = list->currentRow();
    } else if (auto* tree = qobject_cast<const QTreeWidget*>(object)) {
        entry[u"items"] = treeItems(tree->invisibleRootItem());
        entry[u"current"] = tree->currentItem() ? tree->currentItem()->text(0) : QString();
    } else if (auto* chartTabs = qobject_cast<const ChartTabs*>(object)) {
        QStringList texts;
        for (int i = 0; i < chartTabs->tabBar()->count(); ++i)
            texts << chartTabs->tabBar()->tabText(i);
        entry[u"items"] = textsOf(texts);
        entry[u"current"] = chartTabs->currentIndex();
    } else if (auto* tabs = qobject_cast<const QTabWidget*>(object)) {
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
        entry[u"items"] = textsOf(texts);
        entry[u"current"] = tabs->currentIndex();
    }
}

// An action's state, and for a toolbar action where its button is on screen.
void describeAction(const QAction* action, const QWidget* window, QJsonObject& entry) {
    entry[u"visible"] = action->isVisible();
    entry[u"enabled"] = action->isEnabled();
    if (action->isCheckable())
        entry[u"checked"] = action->isChecked();
    entry[u"tooltip"] = action->toolTip();
    // A toolbar action has a button on screen: where a person would click it.
    for (const QObject* associated : action->associatedObjects()) {
        auto* button = qobject_cast<const QToolButton*>(associated);
        if (!button || button->window() != window || !button->isVisible())
            continue;
        const QPoint inWindow = button->mapTo(window, QPoint(0, 0));
        entry[u"wx"] = inWindow.x();
        entry[u"wy"] = inWindow.y();
        entry[u"w"] = button->width();
        entry[u"h"] = button->height();
        break;
    }
}

QJsonObject describeControl(const QObject* object, const QWidget* window) {
    QJsonObject entry;
    entry[u"name"] = object->objectName();
    entry[u"class"] = QString::fromLatin1(object->metaObject()->className());
    if (auto* timer = qobject_cast<const Timer*>(object)) {
        entry[u"interval"] = timer->interval();
        return entry;
    }
    entry[u"text"] = controlText(object);
    if (auto* action = qobject_cast<const QAction*>(object)) {
        describeAction(action, window, entry);
        return entry;
    }
    auto* widget = qobject_cast<const QWidget*>(object);
    if (!widget)
        return entry;
    entry[u"visible"] = widget->isVisible();
    entry[u"enabled"] = widget->isEnabled();
    entry[u"tooltip"] = widget->toolTip();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget); button && button->isCheckable())
        entry[u"checked"] = button->isChecked();
    if (auto* group = qobject_cast<const QGroupBox*>(widget); group && group->isCheckable())
        entry[u"checked"] = group->isChecked();
    if (auto* slider = qobject_cast<const QAbstractSlider*>(widget))
        entry[u"value"] = slider->value();
    if (auto* progress = qobject_cast<const QProgressBar*>(widget))
        entry[u"value"] = progress->value();
    const QRect geometry = widget->geometry();
    entry[u"x"] = geometry.x();
    entry[u"y"] = geometry.y();
    entry[u"w"] = geometry.width();
    entry[u"h"] = geometry.height();
    const QPoint inWindow = widget->mapTo(window, QPoint(0, 0));
    entry[u"wx"] = inWindow.x();
    entry[u"wy"] = inWindow.y();
    addItems(widget, entry);
    // What a control publishes about itself beyond its widget state (a chart
    // panel's address and image); Qt's own properties start with "_q_".
    for (const QByteArray& property : widget->dynamicPropertyNames()) {
        if (!property.startsWith("_q_"))
            entry[QString::fromLatin1(property)] = QJsonValue::fromVariant(widget->property(property));
    }
    return entry;
}

bool isApplicationWindow(const QWidget* widget) {
    switch (widget->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::Desktop:
        return false;
    default:
        break;
    }
    return !isQtInternal(widget);
}

} // namespace

StateDump::StateDump(const QString& path, const Dialogs& dialogs, QObject* parent)
    : QObject(parent), writer_(path), dialogs_(dialogs),
      timer_(new Timer(this, QStringLiteral("状态记录时钟"))) {
    connect(timer_, &Timer::timeout, this, [this] { writer_.replaceLater(bytes()); });
}

void StateDump::start() {
    write();
    timer_->setInterval(kDumpIntervalMs);
}

QJsonObject StateDump::describeWindow(const QWidget* window) {
    QJsonObject entry;
    entry[u"title"] = window->windowTitle();
    entry[u"name"] = window->objectName();
    entry[u"class"] = QString::fromLatin1(window->metaObject()->className());
    entry[u"visible"] = window->isVisible();
    entry[u"minimized"] = window->isMinimized();
    // Where the window really is: a window manager may have placed it
    // elsewhere than the program asked, without telling the toolkit.
    const QRect real = x11window::serverGeometry(window).value_or(window->geometry());
    entry[u"x"] = real.x();
    entry[u"y"] = real.y();
    entry[u"w"] = real.width();
    entry[u"h"] = real.height();
    // With the window manager's frame around it (title bar, borders).
    const QWindow* handle = window->windowHandle();
    entry[u"frame"] = rectEntry(handle ? real.marginsAdded(handle->frameMargins()) : real);
    entry[u"opacity"] = windowAlpha(window);
    entry[u"topmost"] = window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    entry[u"clickThrough"] = window->windowFlags().testFlag(Qt::WindowTransparentForInput);
    QJsonArray controls;
    const QList<QObject*> children = window->findChildren<QObject*>();
    for (const QObject* child : children) {
        if (!hasDesignName(child, window))
            continue;
        // Controls of another top-level window (an owned dialog) belong to that window's entry.
        if (auto* widget = qobject_cast<const QWidget*>(child); widget && widget->window() != window)
            continue;
        controls.append(describeControl(child, window));
    }
    entry[u"controls"] = controls;
    return entry;
}

QJsonObject StateDump::snapshot() const {
    QJsonObject root;
    QJsonArray windows;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (isApplicationWindow(window))
            windows.append(describeWindow(window));
    }
    root[u"windows"] = windows;

    QJsonObject quotes;
    if (quoteModel_) {
        quotes[u"baseBuy"] = gbk::decode(quoteModel_->baseBuy());
        quotes[u"baseSell"] = gbk::decode(quoteModel_->baseSell());
        for (int i = 0; i < QuoteModel::kShownCount; ++i) {
            const auto which = static_cast<QuoteModel::Shown>(i);
            quotes[QuoteModel::shownName(which)] = quoteModel_->shown(which);
        }
    }
    root[u"quotes"] = quotes;

    QJsonArray messages;
    for (const Dialogs::Shown& shown : dialogs_.history()) {
        QJsonObject message;
        message[u"text"] = shown.text;
        message[u"title"] = shown.title;
        messages.append(message);
    }
    root[u"messages"] = messages;

    if (tally_) {
        QJsonObject requests;
        for (auto it = tally_->byCaller().begin(); it != tally_->byCaller().end(); ++it) {
            requests[it.key()] = QJsonObject{{QStringLiteral("inFlight"), it->inFlight},
                                             {QStringLiteral("peak"), it->peak},
                                             {QStringLiteral("started"), it->started}};
        }
        root[u"requests"] = requests;
    }
    return root;
}

QByteArray StateDump::bytes() const {
    return QJsonDocument(snapshot()).toJson(QJsonDocument::Compact);
}

bool StateDump::write() {
    return writer_.replaceNow(bytes());
}

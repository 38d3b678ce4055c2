#include "alert_popup.h"

#include "platform/screen.h"
#include "platform/timer.h"
#include "ui/demo_mark.h"
#include "ui/place.h"
#include "ui/x11_window.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kTitleHeight = 26;

} // namespace

AlertPopup::AlertPopup(const Screen& screen, QWidget* parent)
    // Placed by the program alone: a window manager would keep it from
    // starting below the screen's edge.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::X11BypassWindowManagerHint) {
    setObjectName(QStringLiteral("价格提醒窗口"));
    setWindowTitle(title());
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    x11window::keepOffTaskbar(this);
    setFixedSize(kWidth, kHeight);

    text_ = place<QLabel>(this, QStringLiteral("标签_价格提醒显示标签"), {22, 35, 276, 24});
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(15);
    font.setWeight(QFont::Normal);
    text_->setFont(font);
    // A double-click on the text closes the note as one on the window does.
    text_->setAttribute(Qt::WA_TransparentForMouseEvents);
    demoMark_ = demomark::place(this, QStringLiteral("标签_演示行情"), {22, 90, 282, 20}, demoLine());
    demoMark_->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Starts just below the work area, flush with its right edge.
    const QRect area = screen.workArea();
    const int bottom = area.y() + area.height();
    targetTop_ = bottom - kHeight;
    move(area.x() + area.width() - kWidth - 1, bottom + 3);

    slideTimer_ = new Timer(this, QStringLiteral("时钟_右下角渐渐弹出窗口"));
    connect(slideTimer_, &Timer::timeout, this, &AlertPopup::slide);
}

QString AlertPopup::title() {
    return QStringLiteral("Aurisa提醒您：");
}

QString AlertPopup::demoLine() {
    return QStringLiteral("演示行情：价格为模拟数据，并非银行真实报价");
}

void AlertPopup::setMessage(const QString& text) {
    text_->setText(text);
}

QString AlertPopup::message() const {
    return text_->text();
}

void AlertPopup::setDemoFeed(bool demo) {
    demoMark_->setVisible(demo);
}

void AlertPopup::slide() {
    if (y() > targetTop_)
        move(x(), y() - kStep);
    if (y() <= targetTop_)
        slideTimer_->setInterval(0); // resting: nothing to wake for until it is moved
}

void AlertPopup::wakeIfBelowTarget() {
    if (isVisible() && y() > targetTop_ && slideTimer_->interval() == 0)
        slideTimer_->setInterval(kTickMs);
}

void AlertPopup::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    wakeIfBelowTarget();
}

void AlertPopup::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // Pushed below its resting place, it slides back up.
    wakeIfBelowTarget();
}

void AlertPopup::mousePressEvent(QMouseEvent* event) {
    // The drawn title bar drags the note as a real one would.
    if (event->button() == Qt::LeftButton && event->position().y() < kTitleHeight)
        dragOffset_ = event->globalPosition().toPoint() - pos();
    else
        dragOffset_.reset();
    event->accept();
}

void AlertPopup::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - *dragOffset_);
    event->accept();
}

void AlertPopup::mouseReleaseEvent(QMouseEvent* event) {
    dragOffset_.reset();
    event->accept();
}

void AlertPopup::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    close();
}

void AlertPopup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect title(0, 0, width(), kTitleHeight);
    QLinearGradient band(title.topLeft(), title.bottomLeft());
    band.setColorAt(0, QColor(0x4a, 0x7d, 0xb5));
    band.setColorAt(1, QColor(0x2c, 0x5a, 0x8f));
    p.fillRect(title, band);
    p.fillRect(rect().adjusted(0, kTitleHeight, 0, 0), QColor(0xf6, 0xf9, 0xfd));
    p.setPen(Qt::white);
    QFont caption = font();
    caption.setBold(true);
    p.setFont(caption);
    p.drawText(title.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, windowTitle());
    p.setPen(QColor(0x2c, 0x5a, 0x8f));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

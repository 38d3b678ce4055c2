#include "unit_converter.h"

#include "core/endpoints.h"
#include "media/reference_rules.h"
#include "platform/freed_memory.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "platform/web_views.h"
#include "ui/fixed_size.h"
#include "ui/place.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QWindow>

UnitConverter::UnitConverter(Services& services, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("dud实时单位换算"));
    setWindowTitle(QStringLiteral("dud实时单位换算"));
    setAttribute(Qt::WA_DeleteOnClose);
    makeFixedSize(this, {kClientWidth, kClientHeight});

    auto* frame = place<QFrame>(this, QStringLiteral("外形框1"), {2, 1, 206, 134});
    frame->setFrameShape(QFrame::Box);
    view_ = services.webViews->create(frame, WebView::NewWindowPolicy::Refuse);
    view_->setObjectName(QStringLiteral("超文本浏览框_单位换算"));
    view_->setGeometry(5, 5, 196, 124);
    onTop_ = place<QCheckBox>(frame, QStringLiteral("选择框_单位换算窗口置顶"), {157, 112, 48, 18},
                              QStringLiteral("置前"));
    onTop_->raise();
    place<QLabel>(this, QStringLiteral("标签1"), {36, 138, 134, 18}, QStringLiteral("如果未显示 请多试几次"));

    const QRect area = services.screen->workArea();
    if (!area.isEmpty())
        move(area.center() - rect().center());

    connect(onTop_, &QCheckBox::toggled, this, &UnitConverter::keepOnTop);
    const QUrl page = referencerules::pageUrl(endpoints::value(endpoints::key::converterHost),
                                              QStringLiteral("/gold/convert.htm"));
    if (!page.isEmpty())
        view_->navigate(page);
}

UnitConverter::~UnitConverter() {
    releaseFreedMemorySoon();
}

void UnitConverter::keepOnTop(bool onTop) {
    // Changed on the window as it is: setWindowFlags() would hide it and
    // make its native window anew.
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    overrideWindowFlags(flags);
    if (QWindow* handle = windowHandle())
        handle->setFlags(flags);
}

#include "main_layout.h"

#include "core/text_rules.h"

namespace {

int trunc(double value) {
    return static_cast<int>(toIntTrunc(value));
}

// Left edge that centres a width `own` in a width `outer`.
int centred(double outer, double own) {
    return trunc(outer / 2.0 - own / 2.0);
}

} // namespace

bool MainLayout::maximisedAtStart(bool designedLayout, const QSize& screen) {
    return !designedLayout && screen.isValid() && screen.width() <= 1440 && screen.height() <= 1024;
}

void MainLayout::apply(int w, int h) {
    const int statusHeight = statusBar.height();

    // 1-4: the right column hugs the right edge; the tabs take the rest.
    rightColumn.moveLeft(w - rightColumn.width() - 2);
    rightColumn.setHeight(h - toolbarHeight - statusHeight);
    tabs.setWidth(w - rightColumn.width() - 6);
    tabs.setHeight(rightColumn.height() - clockBar.height() - 2);

    // 5: the clock strip spans the tabs, its panel centred.
    clockBar.setWidth(tabs.width());
    clockPanel.moveLeft(centred(clockBar.width(), clockPanel.width()));

    // 6-7: the bank panel opens under its splitter at the foot of page 0.
    bankSplitter.moveTop(tabs.height() - 228);
    bankSplitter.setWidth(tabs.width());
    bankPanel.setWidth(tabs.width());
    bankPanel.moveTop(h - bankPanel.height() - statusHeight - clockBar.height() - 30);
    bankAdaptive.moveLeft(centred(bankPanel.width(), bankAdaptive.width()));

    // 8-9: page 0's side panel and the 24-hour chart between it and the bank panel.
    QRect& side0 = sidePanels[0];
    side0.moveLeft(tabs.width() - side0.width() - 1);
    side0.setHeight(tabs.height() - bankPanel.height() - 1);
    chart24.moveLeft(centred(tabs.width() - side0.width(), chart24.width()));
    chart24.moveTop(centred(bankPanel.top() - speedPanel.height(), chart24.height()));

    // 10-12: the right column's groups and fold buttons.
    tvFold.moveLeft(w - 35 - 8);
    alertFold.moveLeft(tvFold.left());
    alertFold.moveTop(tvGroup.height() + 33);
    alertGroup.moveTop(alertFold.top() - 20);
    alertGroup.setHeight(h - tvGroup.height() - intlPanel.height() - statusHeight - 40);
    intlPanel.moveTop(statusBar.top() - intlPanel.height() - 30);

    // 13: pages 1-4, side panel at the right, content centred in what is left.
    for (int page = 1; page < kPages; ++page) {
        QRect& side = sidePanels[static_cast<size_t>(page)];
        QRect& content = contentFrames[static_cast<size_t>(page)];
        side.moveLeft(tabs.width() - side.width() - 1);
        side.setHeight(tabs.height() - 2);
        content.moveLeft(centred(tabs.width() - side.width(), content.width()));
        content.moveTop(centred(tabs.height(), content.height()));
    }

    // 14: the news strip over the status bar; the ticker restarts at the right.
    newsStrip.moveTop(statusBar.top() + 3);
    newsStrip.moveLeft(statusBar.left() + 84);
    newsStrip.setWidth(w - 106);
    statusPart1Width = w - 100;
    newsLink.moveLeft(newsStrip.width());
}

namespace folds {

void toggleTvGroup(MainLayout& l) {
    l.tvGroup.setHeight(l.tvGroup.height() == 0 ? 228 : 0);
    l.alertFold.moveTop(l.tvGroup.height() + 33);
    l.alertGroup.moveTop(l.alertFold.top() - 20);
    l.intlPanel.moveTop(l.alertGroup.top() + l.alertGroup.height() + 10);
}

void toggleAlertGroup(MainLayout& l) {
    l.alertGroup.setHeight(l.alertGroup.height() == 0 ? 308 : 0);
    l.intlPanel.moveTop(l.alertGroup.top() + l.alertGroup.height() + 10);
}

} // namespace folds

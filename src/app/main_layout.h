#pragma once

#include <QRect>
#include <QSize>
#include <array>

// The main window's resize arithmetic. The window gathers the current
// rectangles of its frame controls (each relative to its own parent, page
// controls relative to the tab control), runs the steps, and applies the
// result. Every computed value is truncated to whole pixels.
struct MainLayout {
    static constexpr int kPages = 5;
    // The bars docked along the client area's top and bottom.
    static constexpr int kToolbarHeight = 28;
    static constexpr int kStatusHeight = 20;

    // Whether the window opens maximised: on a screen of at most 1440 × 1024,
    // unless the user asked for the designed size ("界面").
    static bool maximisedAtStart(bool designedLayout, const QSize& screen);

    int toolbarHeight = 0;
    QRect statusBar; // docked at the bottom of the client area

    QRect rightColumn;
    QRect tabs;
    QRect clockBar;
    QRect clockPanel;
    QRect bankSplitter;
    QRect bankPanel;
    QRect bankAdaptive;
    QRect chart24;
    QRect speedPanel;
    std::array<QRect, kPages> sidePanels;
    std::array<QRect, kPages> contentFrames; // index 0 unused: page 0 has the chart and bank panel
    QRect tvFold;
    QRect alertFold;
    QRect tvGroup;
    QRect alertGroup;
    QRect intlPanel;
    QRect newsStrip;
    QRect newsLink;
    int statusPart1Width = 0;

    // Runs the fourteen steps for a client area of width w and height h.
    void apply(int w, int h);
};

// The fold buttons of the right column. Folding the TV group moves the alert
// group's fold button, the alert group and the international panel with it;
// folding the alert group moves the international panel. A later resize lays
// the alert group out anew, which unfolds it.
namespace folds {

void toggleTvGroup(MainLayout& layout);
void toggleAlertGroup(MainLayout& layout);

} // namespace folds

#pragma once

// The bank panel's arithmetic, apart from its widgets.
namespace quotepanels {

// The splitter's toggle: the bank panel hides below the page or shows again,
// and the 24-hour chart follows it. `tabsHeight` is the tab control's height.
struct SplitterToggle {
    int splitterTop;
    int panelTop;
    int chartTop;
};
SplitterToggle toggleBankPanel(int splitterTop, int splitterHeight, int tabsHeight, int speedPanelHeight,
                               int chartHeight);

} // namespace quotepanels

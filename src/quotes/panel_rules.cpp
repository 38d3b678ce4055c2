#include "panel_rules.h"

#include "core/text_rules.h"

namespace quotepanels {

SplitterToggle toggleBankPanel(int splitterTop, int splitterHeight, int tabsHeight, int speedPanelHeight,
                               int chartHeight) {
    SplitterToggle result;
    const int hidden = tabsHeight - 9;
    result.splitterTop = splitterTop == hidden ? tabsHeight - 228 : hidden;
    result.panelTop = result.splitterTop + splitterHeight;
    result.chartTop =
        static_cast<int>(toIntTrunc((result.panelTop - speedPanelHeight) / 2.0 - chartHeight / 2.0));
    return result;
}

} // namespace quotepanels

#pragma once

// The windows ask for the Windows font names "宋体" and "黑体"; map them (and
// their Latin names) to the CJK fonts installed here so no text shows as boxes.
void installFontSubstitutions();

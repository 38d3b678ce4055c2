#pragma once

// Qt's own Chinese texts (the standard buttons read 确定 and 取消, as every
// other caption of the program is Chinese). Call once the application
// exists; without Debian's translation files the buttons stay in English.
void installChineseTranslations();

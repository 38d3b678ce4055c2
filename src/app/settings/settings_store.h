#pragma once

#include <QString>

// "config.ini": an INI file in GBK holding every user setting. Nothing is
// cached; each call reads the file afresh, so callers pass the path each time.
namespace settings {

bool fileExists(const QString& path);

// The value of `key` in `section`; empty when the file, the section or the key
// is absent. Names match exactly, case included.
QString readItem(const QString& path, const QString& section, const QString& key);

// Whether the file holds `key` in `section`, even with an empty value.
bool keyExists(const QString& path, const QString& section, const QString& key);

// Sets `key` in `section`, adding the key (and the section) when absent and
// creating the file when missing. Every other byte of the file stays as it was.
// The new file replaces the old one in a single rename, so a failed or
// interrupted write leaves the old file whole. Returns false when nothing was
// written: the file cannot be read or replaced, a name is empty or cannot be
// an INI name, or the value cannot be stored so that it reads back unchanged
// (a line break, a NUL, or a character GBK lacks).
bool writeItem(const QString& path, const QString& section, const QString& key, const QString& value);

// The leading decimal integer (after optional white space and sign), clamped to
// the int range; 0 when the text does not start with one ("12abc" gives 12).
int toInt(const QString& text);
// A flag is on only when its text reads as the integer 1.
bool isOn(const QString& text);
// The leading decimal number ("-2.9", "1.5e2"), truncated toward zero and
// clamped to the int range; 0 when there is none.
int toIntTruncatedDecimal(const QString& text);

} // namespace settings

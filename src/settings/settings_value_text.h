// One setting value as the settings file writes it: a quoted text with escapes, a
// plain integer, or a tagged floating point number, day number or byte string (the
// format is described at SettingsStore).
#pragma once

#include "settings/settings_store.h"

namespace q {

// The value a line's text after "=" holds; nullopt when it cannot be read (an
// unclosed quote, a bad escape, a tag without its number or hex digits). An
// unquoted text that is neither an integer nor tagged is text.
std::optional<SettingValue> parseSettingValue(QStringView text);
// The text the file holds for the value; reads back as the same value.
QString formatSettingValue(const SettingValue& value);

}  // namespace q

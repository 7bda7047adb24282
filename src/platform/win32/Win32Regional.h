// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/Regional.h"

namespace tarnwell {

// The decimal and date separators of the user's locale, with the user's own changes to it.
Regional SystemRegional();
// The same for a locale by its name ("de-DE"). A separator of more than one character, or
// outside ASCII, leaves the default in its place; so does a blank date separator.
Regional RegionalOfLocale(const std::string& localeName);

}  // namespace tarnwell

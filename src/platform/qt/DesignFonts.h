// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tarnwell {

// Where Debian's fonts-wine keeps its Tahoma, outside the font system's search path.
inline constexpr const char* kWineFontFolder = "/usr/share/wine/fonts";

// The windows are designed in Tahoma (and Arial for one label, which the font system finds as
// its metric twin Liberation Sans). Unless the font system has Tahoma itself, gives the program
// the Tahoma faces in `folder`, taking only files that root owns and nobody else may change;
// without them the texts keep the font system's stand-in. Call once the application exists.
void RegisterDesignFonts(const std::string& folder = kWineFontFolder);

}  // namespace tarnwell

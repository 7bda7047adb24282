// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/CodePages.h"

namespace tarnwell {

// The code pages through the system's own tables (MultiByteToWideChar).
class Win32CodePages : public CodePages {
 public:
  std::string ToUtf8(std::string_view bytes, int codePage) const override;
};

}  // namespace tarnwell

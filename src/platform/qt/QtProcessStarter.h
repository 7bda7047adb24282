// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessStarter.h"

namespace tarnwell {

class QtProcessStarter : public ProcessStarter {
 public:
  bool StartDetached(const std::string& program,
                     const std::vector<std::string>& arguments) override;
  bool OpenFolder(const std::string& folder) override;
};

}  // namespace tarnwell

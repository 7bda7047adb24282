// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace tarnwell {

// Starts other programs without waiting for them. Arguments are passed one by one, never
// through a shell, so a folder name with blanks or quotes reaches the program intact.
class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  // False when the program could not be started (not installed, not executable).
  virtual bool StartDetached(const std::string& program,
                             const std::vector<std::string>& arguments) = 0;

  // Opens `folder` in the system's file browser; false when it could not be started.
  virtual bool OpenFolder(const std::string& folder) = 0;
};

}  // namespace tarnwell

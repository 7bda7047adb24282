// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/ProcessStarter.h"

namespace tarnwell {

// Starts programs with CreateProcessW, without a shell. A program named without a folder is
// looked for in the system's folders and then in the absolute folders of PATH, never in the
// current folder, where anyone might have put a program of that name.
class Win32ProcessStarter : public ProcessStarter {
 public:
  bool StartDetached(const std::string& program,
                     const std::vector<std::string>& arguments) override;
  // "explorer.exe /e, " followed by the folder.
  bool OpenFolder(const std::string& folder) override;
};

// The command line that CommandLineToArgvW, and the C runtime of the program started, split
// back into exactly `words`: the first is the program, the rest its arguments.
std::wstring CommandLineOf(const std::vector<std::wstring>& words);

}  // namespace tarnwell

#!/usr/bin/env bash
# Fails when a file includes a system's headers outside the folders of that system: Qt only in
# qt/ folders, the Win32 API only in win32/, POSIX only in posix/; everything else is the plain
# C++ both programs share.
set -uo pipefail
cd "$(dirname "$0")/.."
posix='unistd|fcntl|sys/[a-z_]+|termios|pty|poll|signal|dirent|pwd|grp|iconv|dlfcn|pthread|spawn|linux/[a-z_]+|stdlib|errno|libgen|glob|syslog'
win32='windows|winbase|winioctl|setupapi|commctrl|commdlg|shlobj|shellapi|winreg|windowsx|devguid|tlhelp32|processthreadsapi|wingdi|winuser|userenv|aclapi|sddl|accctrl|shlwapi|knownfolders|initguid|objbase'
broken=0
while read -r file; do
  report() { echo "$file: $1 $(grep -oiE "$2" "$file" | sort -u | tr '\n' ' ')"; broken=1; }
  [[ $file == */qt/* ]] || ! grep -qE '^\s*#\s*include\s*<Q' "$file" || report "Qt outside qt/:" '<Q[A-Za-z/]+>'
  [[ $file == */win32/* ]] || ! grep -qiE "^\s*#\s*include\s*<($win32)\.h>" "$file" ||
    report "Win32 outside win32/:" "<($win32)\.h>"
  [[ $file == */posix/* ]] || ! grep -qE "^\s*#\s*include\s*<($posix)\.h>" "$file" ||
    report "POSIX outside posix/:" "<($posix)\.h>"
done < <(git ls-files src tests tools fuzz bench | grep -E '\.(cpp|cc|h|hpp)$')
[[ $broken == 0 ]] && echo "folders: every system header in the folder of its system"
exit "$broken"

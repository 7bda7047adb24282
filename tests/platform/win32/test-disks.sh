#!/usr/bin/env bash
# mount DIR: a full disk (DIR/full, a 256 KiB tmpfs) and a read-only one holding config.ini
# ("old", DIR/readonly) for the Windows file-system tests, each with the file "mounted" in it;
# without the right to mount, plain folders without it, and the tests leave those cases out.
# unmount DIR: takes both away again.
set -uo pipefail
action=$1 dir=$2
case $action in
  mount)
    "$0" unmount "$dir"
    mkdir -p "$dir/full" "$dir/readonly"
    if mount -t tmpfs -o size=256k,mode=0755 tmpfs "$dir/full" 2>/dev/null; then
      : >"$dir/full/mounted"
    fi
    if mount -t tmpfs -o size=64k,mode=0755 tmpfs "$dir/readonly" 2>/dev/null; then
      printf old >"$dir/readonly/config.ini"
      : >"$dir/readonly/mounted"
      mount -o remount,ro "$dir/readonly"
    fi
    exit 0
    ;;
  unmount)
    for disk in "$dir/full" "$dir/readonly"; do
      mountpoint -q "$disk" && umount -l "$disk"
      [[ -d $disk ]] && rmdir "$disk"
    done
    exit 0
    ;;
esac
echo "usage: $0 mount|unmount DIR" >&2
exit 2

# Finds out whether this machine runs 32-bit programs. Sourced, not run.
#
# Kernels with 32-bit emulation switched off run no 32-bit program at all, and
# which machines have it differs, so each is tried rather than guessed.

# qv_kernel_runs_32bit DIR: runs a 96-byte 32-bit Linux program (exit(42)
# through int 0x80) written to DIR. Tells whether installing the 32-bit Wine
# is worth it at all.
qv_kernel_runs_32bit() {
  local dir=$1 rc=0
  mkdir -p "$dir"
  # ELF header, one loadable segment, then: mov eax,1; mov ebx,42; int 0x80
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$dir/elf32-probe"
  chmod +x "$dir/elf32-probe"
  "$dir/elf32-probe" 2>/dev/null || rc=$?
  [ "$rc" = 42 ]
}

# qv_wine_runs_32bit DIR PREFIXES: builds a 32-bit Windows program into DIR with
# the cross compiler and runs it under the 32-bit Wine in the booted template
# of PREFIXES (the one the 32-bit tests clone their prefixes from).
qv_wine_runs_32bit() {
  local dir=$1 prefixes=$2 out
  [ -x /usr/lib/wine/wine ] || return 1
  mkdir -p "$dir"
  cat >"$dir/probe32.c" <<'C'
#include <stdio.h>
int main(void)
{
    if (sizeof(void*) != 4) return 1;
    puts("32-bit probe ran");
    return 0;
}
C
  i686-w64-mingw32-gcc -o "$dir/probe32.exe" "$dir/probe32.c" || return 1
  (
    export WINEARCH=win32
    source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
    qv_wine_template "$prefixes" >/dev/null 2>&1 || exit 1
    out=$(WINEPREFIX="$prefixes/.template" timeout 60 /usr/lib/wine/wine "$dir/probe32.exe" 2>/dev/null) || exit 1
    [ "$(printf '%s' "$out" | tr -d '\r')" = "32-bit probe ran" ]
  )
}

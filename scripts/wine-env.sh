# Shell functions for running Wine the way the tests and the run command do.
# Sourced, not run.
#
# WINEARCH comes from the build (win64 for the x86_64 build, win32 for i686).
# Kernels with 32-bit emulation switched off cannot run the 32-bit Wine at all,
# so the tests default to the x86_64 build of the same sources.

export WINEARCH=${WINEARCH:-win64}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko offers, no menu entries or file associations on the host.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

qv_wine_loader() {
  if [ "$WINEARCH" = win64 ]; then echo /usr/lib/wine/wine64; else echo /usr/lib/wine/wine; fi
}

# qv_wine PREFIX PROGRAM [ARGS...]
qv_wine() {
  local prefix=$1; shift
  WINEPREFIX="$prefix" "$(qv_wine_loader)" "$@"
}

# Ends every Wine process of a prefix and waits for its wineserver to go.
qv_wine_kill() {
  local prefix=$1
  [ -d "$prefix" ] || return 0
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX="$prefix" timeout 30 /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
  # A process that lost its wineserver (seen: a console host of a hidden
  # console program) outlives -k and would hold the caller's output pipe open,
  # so ctest would wait for it forever: end whatever still runs in the prefix.
  local proc
  for proc in /proc/[0-9]*; do
    [ "${proc#/proc/}" = $$ ] && continue
    if { tr '\0' '\n' <"$proc/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$prefix"; then
      kill -9 "${proc#/proc/}" 2>/dev/null || true
    fi
  done
}

# qv_wine_template DIR: a booted prefix at DIR/.template, made once; concurrent
# callers wait for the first.
qv_wine_template() {
  local dir=$1 template="$1/.template"
  mkdir -p "$dir"
  (
    flock 9
    if [ ! -f "$template/.qv-ready" ]; then
      rm -rf "$template"
      WINEPREFIX="$template" timeout 300 "$(qv_wine_loader)" wineboot -i >/dev/null 2>&1 || true
      WINEPREFIX="$template" timeout 120 /usr/lib/wine/wineserver -w
      [ -f "$template/system.reg" ] || { echo "wine: could not create a prefix in $template" >&2; exit 1; }
      touch "$template/.qv-ready"
    fi
    # This Wine finds the fonts of Debian's fonts-wine only in a prefix's own
    # Fonts folder; without Marlett the caption buttons draw as "0 1 r".
    local font
    for font in /usr/share/wine/fonts/*.ttf; do
      [ -f "$font" ] && [ ! -f "$template/drive_c/windows/Fonts/${font##*/}" ] &&
        cp "$font" "$template/drive_c/windows/Fonts/"
    done
    true
  ) 9>"$dir/.template.lock"
}

# qv_wine_fresh DIR NAME: a new prefix DIR/NAME cloned from the template. The
# system's DLLs are hard links (Wine never writes to them); the registry files
# and everything under drive_c that a program may change are real copies.
qv_wine_fresh() {
  local dir=$1 prefix="$1/$2"
  qv_wine_template "$dir" || return 1
  qv_wine_kill "$prefix"
  rm -rf "$prefix"
  cp -al "$dir/.template" "$prefix"
  local f
  for f in "$prefix"/*.reg; do cp --remove-destination "$dir/.template/$(basename "$f")" "$f"; done
  # Only the Windows folder is shared; users, ProgramData and Program Files are copied.
  local d
  for d in "$prefix"/drive_c/*; do
    [ "$(basename "$d")" = windows ] && continue
    rm -rf "$d"
    cp -a "$dir/.template/drive_c/$(basename "$d")" "$d"
  done
}

# qv_xvfb_start: when there is no display, starts Xvfb on a free display
# number, exports DISPLAY and stops it when the calling shell exits. Sourced.
qv_xvfb_start() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  QV_XVFB_PID=$!
  trap 'kill $QV_XVFB_PID 2>/dev/null || true' EXIT
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
}

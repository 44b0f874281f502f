# Sourced by the scripts that open windows. start_private_display: when no X display is set,
# starts Xvfb on a display number it finds free, waits until it is ready and exports DISPLAY.
# stop_private_display ends it again (nothing when the caller's display was used).
private_display_pid=
start_private_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local number_file
  number_file=$(mktemp)
  # Xvfb writes its display number to the descriptor once it accepts connections.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" </dev/null >/dev/null 2>&1 &
  private_display_pid=$!
  for _ in $(seq 100); do [ -s "$number_file" ] && break; sleep 0.1; done
  if [ ! -s "$number_file" ]; then
    rm -f "$number_file"
    echo "cannot start Xvfb" >&2
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$number_file")"
  rm -f "$number_file"
}
stop_private_display() {
  if [ -n "$private_display_pid" ]; then kill "$private_display_pid" 2>/dev/null || true; fi
}

#!/bin/sh
# Runs a program on a private X display of its own (a free display number, so parallel runs never
# share one), with the font the dialog sizes are measured in.
# A failed check of the toolkit aborts the program under test instead of showing a box, and a
# warning of the toolkit on its standard error (a Gtk-CRITICAL or Gtk-WARNING line) fails the run.
export LARKSPIN_ABORT_ON_ASSERT=1
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
status=0
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$@" 2>"$errors" || status=$?
cat "$errors" >&2
if grep -q 'Gtk-\(CRITICAL\|WARNING\)' "$errors"; then
  echo "run_under_xvfb.sh: the toolkit warned on standard error (see above)" >&2
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"

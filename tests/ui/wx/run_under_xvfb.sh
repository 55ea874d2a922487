#!/bin/sh
# Runs a program on a private X display of its own (a free display number, so parallel runs never
# share one), with the font the dialog sizes are measured in.
# A failed check of the toolkit aborts the program under test instead of showing a box.
export LARKSPIN_ABORT_ON_ASSERT=1
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$@"

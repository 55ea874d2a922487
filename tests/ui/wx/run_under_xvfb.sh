#!/bin/sh
# Runs a program on a private X display of its own (a free display number, so parallel runs never
# share one), with the font the dialog sizes are measured in.
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$@"

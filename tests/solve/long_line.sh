#!/usr/bin/env bash
# Feeds morvane-solve (the first argument) a 30 MB line of commas and then a
# board code, with its address space capped at 100 MB.
ulimit -v 100000 || exit 1
{ head -c 30000000 /dev/zero | tr '\0' ','; echo; echo 9,15,21,22,24,8,9; } | "$1"

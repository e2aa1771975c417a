#!/bin/sh
# Runs a command with its standard error appended to a file: Wine writes its
# debug channels there, for every process the command starts.
file=$1
shift
exec "$@" 2>>"$file"

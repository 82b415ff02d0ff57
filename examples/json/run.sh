#!/usr/bin/env bash
# Generates the JSON translator, builds it with cc and runs it on the sample inputs.
# Usage: run.sh <path of the parvolen binary> [--prefix]   (--prefix: the embeddable translator)
here=$(cd "$(dirname "$0")" && pwd)
exec bash "$here/../run_example.sh" "${1:?usage: run.sh <path of the parvolen binary> [--prefix]}" "$here" "${2:-}"

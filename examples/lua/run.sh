#!/usr/bin/env bash
# Generates the Lua 5.1 syntax checker (an embeddable translator), builds it with cc and runs it on
# the sample inputs. The description has [Tokens], which only the embeddable translator reads.
# Usage: run.sh <path of the parvolen binary>
here=$(cd "$(dirname "$0")" && pwd)
exec bash "$here/../run_example.sh" "${1:?usage: run.sh <path of the parvolen binary>}" "$here" --prefix

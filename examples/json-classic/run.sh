#!/usr/bin/env bash
# Generates the classic JSON translator, builds it with cc and runs it on the sample inputs. The
# classic lexer has no token definitions, so the grammar builds numbers from their parts and
# strings end at the next double quote (examples/json is exact JSON, for the embeddable translator).
# Usage: run.sh <path of the parvolen binary>
here=$(cd "$(dirname "$0")" && pwd)
exec bash "$here/../run_example.sh" "${1:?usage: run.sh <path of the parvolen binary>}" "$here"

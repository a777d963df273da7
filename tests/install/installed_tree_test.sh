#!/usr/bin/env bash
# Usage: installed_tree_test.sh BUILD_DIR EXAMPLE_PROJECT_DIR
set -euo pipefail
build=$1
example=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
cp -r "$example" "$work/demo"
# The installed programs find their libraries and the install root by their own location.
unset QVD_INST_DIR KESTRA_TOOL_RULEX
status=0
out=$("$work/prefix/bin/kestra" verify rulex -proj "$work/demo/demo.tak" -lib passives 2>"$work/err") \
  || status=$?
if [ "$status" -ne 0 ] || [ "$out" != "View verification passed.  See log file for details." ]; then
  echo "installed kestra verify: exit $status, output: $out" >&2
  cat "$work/err" >&2
  exit 1
fi
grep -q "^TOTAL 0 0 0 0 0 0" "$work/demo/rulex/rx.msg"
echo "installed tree verified the example project"

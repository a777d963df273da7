#!/usr/bin/env bash
# compile_include.sh EXPECT HEADER COMPILER FLAGS...: compiles a file that includes HEADER
# with a layer's own include directories. EXPECT is "compiles" or "refused"; a refusal must
# be the header not being found, not any other error.
set -u
expect=$1 header=$2
shift 2
out=$("$@" -std=c++20 -fsyntax-only -x c++ - <<<"#include \"$header\"" 2>&1)
status=$?
if [ "$expect" = compiles ]; then
  [ $status -eq 0 ] && exit 0
  echo "expected $header to compile:"; echo "$out"; exit 1
fi
if [ $status -ne 0 ] && grep -q "$header: No such file or directory" <<<"$out"; then exit 0; fi
echo "expected $header to be out of reach:"; echo "$out"; exit 1

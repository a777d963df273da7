#!/usr/bin/env bash
# The shared watcher runs in the program's memory, possibly after the thread that started it
# has ended: its code must call nothing (no C library, no lazily bound call, no sanitizer hook)
# and reach no thread-local storage. Checked on the object the build made (x86-64 only).
#   watcher_makes_no_call.sh OBJECT...   (the base layer's objects; the watcher's is picked)
set -euo pipefail
[ "$(uname -m)" = x86_64 ] || { echo "not x86-64: skipped"; exit 77; }
object=""
for candidate in "$@"; do
  case $candidate in *SharedGroupWatch.cpp.o) object=$candidate ;; esac
done
[ -n "$object" ] || { echo "no SharedGroupWatch object among the arguments" >&2; exit 1; }
watch='_ZN12_GLOBAL__N_15WatchEPv'
code=$(objdump -dr --no-show-raw-insn "$object" | awk "/<$watch>:/,/^\$/")
[ -n "$code" ] || { echo "the watcher's function is not in $object" >&2; exit 1; }
# In an object not yet linked a call shows its own address; its relocation names the target.
if grep -E '\scall|R_X86_64_(PLT32|GOTPCREL|REX_GOTPCRELX|GOTPCRELX)\s' <<<"$code"; then
  echo "the watcher calls out of itself or reaches the program's data through the GOT (above)" >&2
  exit 1
fi
if grep -E '%[fg]s|R_X86_64_(TPOFF|GOTTPOFF|TLSGD|TLSLD|DTPOFF)' <<<"$code"; then
  echo "the watcher reaches thread-local storage (above)" >&2
  exit 1
fi
grep -q syscall <<<"$code" || { echo "no system call in the watcher: not its code?" >&2; exit 1; }
echo "watcher: $(grep -c syscall <<<"$code") system calls, no call, no thread-local storage"

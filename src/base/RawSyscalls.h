// System calls made without the C library, for code that runs in a process sharing this
// program's memory (SharedGroupWatch's watcher, started by clone with CLONE_VM): such code must
// not write errno or anything else of the thread that started it, take a lock, allocate, or go
// through the dynamic linker (a lazily bound call). Every function here is inlined and returns
// the kernel's answer as it is: the result, or minus the error number.
//
// On x86-64 and AArch64 the calls are made directly; elsewhere they go through syscall(3),
// which may write errno, and SharedGroupWatch forks its watcher instead (kCanShareMemory).
//
// Only for internal use by src/base: no state, safe from any thread or after fork.
#pragma once

#include <signal.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

// Code that must not be instrumented: the sanitizers' and the fuzzer's hooks are calls into
// their runtime, which keeps per-thread state, and a stack protector reads its canary from the
// thread's own block.
#if defined(__clang__)
#define KESTRA_BARE_CODE \
  __attribute__((no_sanitize("address", "undefined", "coverage"), no_stack_protector))
#else
#define KESTRA_BARE_CODE __attribute__((no_sanitize("address", "undefined"), no_stack_protector))
#endif
#define KESTRA_BARE_INLINE KESTRA_BARE_CODE __attribute__((always_inline)) inline

namespace RawSyscalls {

#if defined(__x86_64__) || defined(__aarch64__)
constexpr bool kCanShareMemory = true;
#else
constexpr bool kCanShareMemory = false;
#endif

KESTRA_BARE_INLINE long Call(long number, long a = 0, long b = 0, long c = 0, long d = 0) {
#if defined(__x86_64__)
  long result;
  register long r10 __asm__("r10") = d;
  __asm__ volatile("syscall"
                   : "=a"(result)
                   : "a"(number), "D"(a), "S"(b), "d"(c), "r"(r10)
                   : "rcx", "r11", "memory");
  return result;
#elif defined(__aarch64__)
  register long x8 __asm__("x8") = number;
  register long x0 __asm__("x0") = a;
  register long x1 __asm__("x1") = b;
  register long x2 __asm__("x2") = c;
  register long x3 __asm__("x3") = d;
  __asm__ volatile("svc 0" : "+r"(x0) : "r"(x8), "r"(x1), "r"(x2), "r"(x3) : "memory");
  return x0;
#else
  const long result = ::syscall(number, a, b, c, d);
  return result < 0 ? -errno : result;
#endif
}

KESTRA_BARE_INLINE long Kill(pid_t pid, int signal) { return Call(SYS_kill, pid, signal); }

KESTRA_BARE_INLINE void SleepMilliseconds(long milliseconds) {
  timespec left = {milliseconds / 1000, (milliseconds % 1000) * 1000000};
  while (Call(SYS_nanosleep, reinterpret_cast<long>(&left), reinterpret_cast<long>(&left)) ==
         -EINTR) {
  }
}

// SIGTERM to every group (0: the caller's own), a grace that ends early once every group is
// gone (so that a watcher whose program already ended its tools does not linger), then SIGKILL.
KESTRA_BARE_INLINE void EndGroups(const pid_t* groups, int count, long graceMilliseconds) {
  for (int i = 0; i < count; ++i) Kill(-groups[i], SIGTERM);
  constexpr long kStep = 20;
  for (long waited = 0; waited < graceMilliseconds; waited += kStep) {
    bool anyLeft = false;
    for (int i = 0; i < count && !anyLeft; ++i) anyLeft = Kill(-groups[i], 0) == 0;
    if (!anyLeft) break;
    SleepMilliseconds(kStep);
  }
  for (int i = 0; i < count; ++i) Kill(-groups[i], SIGKILL);
}

}  // namespace RawSyscalls

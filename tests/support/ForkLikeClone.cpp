// Linked into the test programs of the ThreadSanitizer build only. QProcess starts its child
// with clone(CLONE_VM | CLONE_VFORK): the child runs in the parent's memory until it execs.
// This runtime's clone interceptor treats every clone as a fork and resets its own state in
// the child, which in shared memory is the parent's: from the first started process on, the
// parent's locks went unseen and every test after it reported races that were not there.
// Here such a clone becomes an ordinary fork-like one, which the runtime handles properly.
#include <dlfcn.h>
#include <sched.h>

#include <cstdarg>
#include <sys/types.h>

namespace {
using CloneFn = int (*)(int (*)(void*), void*, int, void*, pid_t*, void*, pid_t*);

// The child's stack. Without CLONE_VM each child runs on its own copy of it, so children
// started at the same time from different threads do not share it; the parent never uses it.
alignas(64) char g_childStack[256 * 1024];
}  // namespace

extern "C" int clone(int (*fn)(void*), void* stack, int flags, void* arg, ...) noexcept {
    va_list rest;
    va_start(rest, arg);
    auto* parentTid = va_arg(rest, pid_t*);
    auto* tls = va_arg(rest, void*);
    auto* childTid = va_arg(rest, pid_t*);
    va_end(rest);
    // The sanitizer's own clone comes next after this program in the lookup order.
    static const auto next = reinterpret_cast<CloneFn>(dlsym(RTLD_NEXT, "clone"));
    if ((flags & CLONE_VM) && (flags & CLONE_VFORK) && !(flags & CLONE_THREAD)) {
        flags &= ~(CLONE_VM | CLONE_VFORK);
        stack = g_childStack + sizeof g_childStack;
    }
    return next(fn, stack, flags, arg, parentTid, tls, childTid);
}

// Entry point of the device tests: the virtual camera must be in the process from its start,
// so without it the binary starts itself again with the library preloaded.
#include <QApplication>

#include <gtest/gtest.h>

#if defined(__SANITIZE_THREAD__)
#include <dlfcn.h>
#include <sanitizer/tsan_interface.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    const char* preload = std::getenv("LD_PRELOAD");
    if (!preload || !std::strstr(preload, CS_VIRTUAL_CAMERA)) {
        std::string list = CS_VIRTUAL_CAMERA;
        if (preload && *preload) list += std::string(":") + preload;
#if defined(__SANITIZE_THREAD__)
        // ThreadSanitizer's runtime must come first: with the library loaded ahead of it,
        // the process died before main.
        Dl_info runtime{};
        if (dladdr(reinterpret_cast<void*>(&__tsan_acquire), &runtime) && runtime.dli_fname)
            list = std::string(runtime.dli_fname) + ":" + list;
#endif
        setenv("LD_PRELOAD", list.c_str(), 1);
        // The library is not sanitized, so ASan must not insist on coming first.
        std::string asan = "verify_asan_link_order=0:detect_leaks=0";
        if (const char* old = std::getenv("ASAN_OPTIONS"); old && *old) asan += std::string(":") + old;
        setenv("ASAN_OPTIONS", asan.c_str(), 1);
        execv("/proc/self/exe", argv);
        std::perror("execv");
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Capture Station"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

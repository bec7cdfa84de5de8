// Preloaded into every test process of the ThreadSanitizer build (and the programs they start):
// a thread that Qt starts for itself (the D-Bus connection thread, the file dialog's
// file-information thread, the thread pool that scales pictures) runs with its memory accesses
// unchecked. Qt is not built with the sanitizer and hands data between its own threads under
// futex-based locks the sanitizer cannot see, so every hand-over would look like a race. The
// project's own threads, all std::thread, stay checked, and so does every access the UI thread
// makes, including those it makes inside Qt.
//
// The tests also start tools that are not built with the sanitizer (Xvfb, cmake, a tray, the
// package tools); the preload reaches them too. So it finds the sanitizer's functions when it
// is first asked to start a thread and, in a process without them, starts every thread as the
// C library does.

#include <dlfcn.h>
#include <pthread.h>

#include <cerrno>
#include <cstring>
#include <new>

namespace {

using CreateFunction = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
using AnnotateFunction = void (*)(const char*, int);

// The sanitizer's functions, or only the C library's thread start in a process without it.
struct Runtime {
    CreateFunction create = nullptr;
    AnnotateFunction ignoreReadsBegin = nullptr;
    AnnotateFunction ignoreReadsEnd = nullptr;
    AnnotateFunction ignoreWritesBegin = nullptr;
    AnnotateFunction ignoreWritesEnd = nullptr;

    bool Sanitized() const {
        return ignoreReadsBegin && ignoreReadsEnd && ignoreWritesBegin && ignoreWritesEnd;
    }
};

const Runtime& Loaded() {
    static const Runtime runtime = [] {
        Runtime found;
        const auto annotation = [](const char* name) {
            return reinterpret_cast<AnnotateFunction>(dlsym(RTLD_DEFAULT, name));
        };
        found.ignoreReadsBegin = annotation("AnnotateIgnoreReadsBegin");
        found.ignoreReadsEnd = annotation("AnnotateIgnoreReadsEnd");
        found.ignoreWritesBegin = annotation("AnnotateIgnoreWritesBegin");
        found.ignoreWritesEnd = annotation("AnnotateIgnoreWritesEnd");
        // The sanitizer's own thread start, which its bookkeeping needs; else the next one.
        found.create = reinterpret_cast<CreateFunction>(
            dlsym(RTLD_DEFAULT, "__interceptor_pthread_create"));
        if (found.create == nullptr) {
            found.create = reinterpret_cast<CreateFunction>(dlsym(RTLD_NEXT, "pthread_create"));
        }
        return found;
    }();
    return runtime;
}

struct Start {
    void* (*routine)(void*);
    void* argument;
};

void* RunUnchecked(void* start) {
    const Start s = *static_cast<Start*>(start);
    delete static_cast<Start*>(start);
    const Runtime& runtime = Loaded();
    runtime.ignoreReadsBegin(__FILE__, __LINE__);
    runtime.ignoreWritesBegin(__FILE__, __LINE__);
    void* result = s.routine(s.argument);
    // A thread may not end with the accesses still ignored.
    runtime.ignoreWritesEnd(__FILE__, __LINE__);
    runtime.ignoreReadsEnd(__FILE__, __LINE__);
    return result;
}

// Qt starts all its threads from QThread::start, inside Qt Core.
bool CalledFromQtCore(void* caller) {
    Dl_info info;
    return dladdr(caller, &info) != 0 && info.dli_fname != nullptr &&
           std::strstr(info.dli_fname, "libQt6Core.so") != nullptr;
}

}  // namespace

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                              void* (*routine)(void*), void* argument) {
    const Runtime& runtime = Loaded();
    if (runtime.create == nullptr) return EAGAIN;
    if (!runtime.Sanitized() || !CalledFromQtCore(__builtin_return_address(0)))
        return runtime.create(thread, attributes, routine, argument);
    auto* start = new (std::nothrow) Start{routine, argument};
    if (start == nullptr) return EAGAIN;
    const int result = runtime.create(thread, attributes, RunUnchecked, start);
    if (result != 0) delete start;
    return result;
}

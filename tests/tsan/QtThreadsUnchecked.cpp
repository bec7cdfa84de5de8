// Preloaded into every test process of the ThreadSanitizer build (and the programs they start):
// a thread that Qt starts for itself (the D-Bus connection thread, the file dialog's
// file-information thread, the thread pool that scales pictures) runs with its memory accesses
// unchecked. Qt is not built with the sanitizer and hands data between its own threads under
// futex-based locks the sanitizer cannot see, so every hand-over would look like a race. The
// project's own threads, all std::thread, stay checked, and so does every access the UI thread
// makes, including those it makes inside Qt.

#include <dlfcn.h>
#include <pthread.h>

#include <cerrno>
#include <cstring>
#include <new>

extern "C" {
int __interceptor_pthread_create(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
void AnnotateIgnoreReadsBegin(const char* file, int line);
void AnnotateIgnoreReadsEnd(const char* file, int line);
void AnnotateIgnoreWritesBegin(const char* file, int line);
void AnnotateIgnoreWritesEnd(const char* file, int line);
}

namespace {

struct Start {
    void* (*routine)(void*);
    void* argument;
};

void* RunUnchecked(void* start) {
    const Start s = *static_cast<Start*>(start);
    delete static_cast<Start*>(start);
    AnnotateIgnoreReadsBegin(__FILE__, __LINE__);
    AnnotateIgnoreWritesBegin(__FILE__, __LINE__);
    void* result = s.routine(s.argument);
    // A thread may not end with the accesses still ignored.
    AnnotateIgnoreWritesEnd(__FILE__, __LINE__);
    AnnotateIgnoreReadsEnd(__FILE__, __LINE__);
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
    if (!CalledFromQtCore(__builtin_return_address(0)))
        return __interceptor_pthread_create(thread, attributes, routine, argument);
    auto* start = new (std::nothrow) Start{routine, argument};
    if (start == nullptr)
        return EAGAIN;
    const int result = __interceptor_pthread_create(thread, attributes, RunUnchecked, start);
    if (result != 0)
        delete start;
    return result;
}

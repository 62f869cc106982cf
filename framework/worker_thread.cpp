#include "framework/worker_thread.h"

#include "common/unique_handle.h"

bool startWorkerThread(LPTHREAD_START_ROUTINE routine, void* parameter) {
    UniqueKernelHandle thread(::CreateThread(nullptr, 0, routine, parameter, 0, nullptr));
    return thread.valid();
}

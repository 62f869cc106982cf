#pragma once
#include <windows.h>

// Starts a thread with normal priority, the default stack size, no creation flags and no
// security attributes. Nobody waits for it: its handle is closed at once. False when no
// thread could be started.
bool startWorkerThread(LPTHREAD_START_ROUTINE routine, void* parameter);

#pragma once

#include <windows.h>

#include "framework/CriticalSection.h"
#include "framework/SimpleMap.h"

class MessageLoop;

// One record per dialog being created: it carries the object from Create or
// DoModal to the dialog's first message on the same thread.
struct CreationRecord {
    void* object;
    DWORD threadId;
    CreationRecord* next;
};

// The program's module record: its image handles, the list through which a new
// dialog finds its object, and the message loop of each thread.
class AppModule {
public:
    AppModule();
    ~AppModule();

    AppModule(const AppModule&) = delete;
    AppModule& operator=(const AppModule&) = delete;

    // Records the main thread and creates the empty loop registry;
    // E_OUTOFMEMORY when the registry cannot be allocated.
    HRESULT Init(HINSTANCE instance);
    void Term();

    HINSTANCE GetInstance() const { return instance; }
    HINSTANCE GetResourceInstance() const { return resourceInstance; }
    DWORD GetMainThreadId() const { return mainThreadId; }

    void AddCreationRecord(CreationRecord* record, void* object);
    // Unlinks the calling thread's most recent record and yields its object,
    // or NULL when the thread has none.
    void* ExtractCreationObject();
    // Drops a record that no first message took (the dialog could not be created).
    void RemoveCreationRecord(CreationRecord* record);

    BOOL AddMessageLoop(MessageLoop* loop);
    BOOL RemoveMessageLoop();
    MessageLoop* GetMessageLoop(DWORD threadId);

    // Guards the loop registry and other process-wide one-time state.
    CriticalSection& GetStaticDataLock() { return staticDataLock; }

private:
    HINSTANCE instance;
    HINSTANCE resourceInstance;
    DWORD mainThreadId = 0;

    CriticalSection windowCreationLock;
    CreationRecord* creationList = nullptr;

    CriticalSection staticDataLock;
    SimpleMap<DWORD, MessageLoop*>* messageLoops = nullptr;
};

// Constructed before the entry point runs.
extern AppModule appModule;

#include "framework/AppModule.h"

#include <new>

AppModule appModule;

AppModule::AppModule()
    : instance(GetModuleHandleA(nullptr)), resourceInstance(instance)
{
}

AppModule::~AppModule()
{
    Term();
}

HRESULT AppModule::Init(HINSTANCE moduleInstance)
{
    if (moduleInstance != nullptr) {
        instance = moduleInstance;
        resourceInstance = moduleInstance;
    }
    mainThreadId = GetCurrentThreadId();
    ScopedLock lock(staticDataLock);
    if (messageLoops == nullptr) {
        messageLoops = new (std::nothrow) SimpleMap<DWORD, MessageLoop*>;
        if (messageLoops == nullptr)
            return E_OUTOFMEMORY;
    }
    return S_OK;
}

void AppModule::Term()
{
    ScopedLock lock(staticDataLock);
    delete messageLoops;
    messageLoops = nullptr;
}

void AppModule::AddCreationRecord(CreationRecord* record, void* object)
{
    record->object = object;
    record->threadId = GetCurrentThreadId();
    ScopedLock lock(windowCreationLock);
    record->next = creationList;
    creationList = record;
}

void* AppModule::ExtractCreationObject()
{
    const DWORD threadId = GetCurrentThreadId();
    ScopedLock lock(windowCreationLock);
    CreationRecord* previous = nullptr;
    for (CreationRecord* record = creationList; record != nullptr; record = record->next) {
        if (record->threadId == threadId) {
            if (previous != nullptr)
                previous->next = record->next;
            else
                creationList = record->next;
            return record->object;
        }
        previous = record;
    }
    return nullptr;
}

void AppModule::RemoveCreationRecord(CreationRecord* record)
{
    ScopedLock lock(windowCreationLock);
    for (CreationRecord** link = &creationList; *link != nullptr; link = &(*link)->next) {
        if (*link == record) {
            *link = record->next;
            return;
        }
    }
}

BOOL AppModule::AddMessageLoop(MessageLoop* loop)
{
    ScopedLock lock(staticDataLock);
    if (messageLoops == nullptr)
        return FALSE;
    return messageLoops->Add(GetCurrentThreadId(), loop);
}

BOOL AppModule::RemoveMessageLoop()
{
    ScopedLock lock(staticDataLock);
    if (messageLoops == nullptr)
        return FALSE;
    return messageLoops->Remove(GetCurrentThreadId());
}

MessageLoop* AppModule::GetMessageLoop(DWORD threadId)
{
    ScopedLock lock(staticDataLock);
    if (messageLoops == nullptr)
        return nullptr;
    return messageLoops->Lookup(threadId);
}

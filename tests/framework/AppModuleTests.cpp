// The module record: loop registry and creation list, per thread.
#include <doctest.h>

#include "framework/AppModule.h"

namespace {

struct ThreadQuery {
    DWORD askedThread;
    MessageLoop* found;
    MessageLoop* ownBefore;  // the thread's own loop before it added one
    void* extracted;
    DWORD threadId;
    BOOL added;
};

DWORD WINAPI QueryFromOtherThread(void* parameter)
{
    ThreadQuery* query = static_cast<ThreadQuery*>(parameter);
    query->threadId = GetCurrentThreadId();
    query->found = appModule.GetMessageLoop(query->askedThread);
    query->ownBefore = appModule.GetMessageLoop(query->threadId);
    query->extracted = appModule.ExtractCreationObject();
    query->added = appModule.AddMessageLoop(reinterpret_cast<MessageLoop*>(0xB0B0));
    return 0;
}

void RunOnOtherThread(ThreadQuery& query)
{
    HANDLE thread = CreateThread(nullptr, 0, QueryFromOtherThread, &query, 0, nullptr);
    REQUIRE(thread != nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

} // namespace

TEST_CASE("message loops are registered under the calling thread")
{
    REQUIRE(appModule.Init(nullptr) == S_OK);
    CHECK(appModule.GetMainThreadId() == GetCurrentThreadId());
    MessageLoop* loop = reinterpret_cast<MessageLoop*>(0x1234);
    const DWORD self = GetCurrentThreadId();

    CHECK(appModule.GetMessageLoop(self) == nullptr);
    CHECK(appModule.AddMessageLoop(loop));
    CHECK(appModule.GetMessageLoop(self) == loop);

    ThreadQuery query = {self, nullptr, nullptr, nullptr, 0, FALSE};
    RunOnOtherThread(query);
    CHECK(query.found == loop);
    CHECK(query.ownBefore == nullptr);
    CHECK(query.added);
    CHECK(appModule.GetMessageLoop(query.threadId) == reinterpret_cast<MessageLoop*>(0xB0B0));
    CHECK(appModule.GetMessageLoop(self) == loop);

    CHECK(appModule.RemoveMessageLoop());
    CHECK(appModule.GetMessageLoop(self) == nullptr);
    CHECK_FALSE(appModule.RemoveMessageLoop());
    CHECK(appModule.GetMessageLoop(query.threadId) != nullptr);

    appModule.Term();
    CHECK(appModule.GetMessageLoop(query.threadId) == nullptr);
    CHECK_FALSE(appModule.AddMessageLoop(loop));
}

TEST_CASE("a creation record is taken only by its own thread")
{
    CreationRecord record = {};
    int object = 0;
    appModule.AddCreationRecord(&record, &object);

    ThreadQuery query = {0, nullptr, nullptr, reinterpret_cast<void*>(1), 0, FALSE};
    RunOnOtherThread(query);
    CHECK(query.extracted == nullptr);

    CHECK(appModule.ExtractCreationObject() == &object);
    CHECK(appModule.ExtractCreationObject() == nullptr);
}

// The library's load and unload notifications and its boundary, on the
// real wscbs.dll.
#include "sharedrt/AppObjects.h"
#include "sharedrt/SharedHeap.h"
#include "support/ExportTable.h"
#include "support/LoadedModule.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

namespace {

using InitSubAppFn = unsigned char(__stdcall*)(void*, char**);
using FreeDLLProcFn = unsigned char(__stdcall*)(unsigned, unsigned);

struct CurrentObjectsGuard {
    rt::Application* app = rt::CurrentApplication();
    rt::Screen* screen = rt::CurrentScreen();
    ~CurrentObjectsGuard()
    {
        rt::SetCurrentApplication(app);
        rt::SetCurrentScreen(screen);
    }
};

} // namespace

TEST(ModuleLifecycle, UnloadRestoresTheObjectsRecordedAtLoad)
{
    CurrentObjectsGuard guard;
    rt::Application atLoad;
    rt::Screen screenAtLoad;
    rt::SetCurrentApplication(&atLoad);
    rt::SetCurrentScreen(&screenAtLoad);

    testing_support::LoadedModule module("wscbs.dll");
    ASSERT_TRUE(module.Loaded()) << GetLastError();

    rt::Application replaced;
    rt::Screen replacedScreen;
    rt::SetCurrentApplication(&replaced);
    rt::SetCurrentScreen(&replacedScreen);

    ASSERT_TRUE(module.Unload());
    EXPECT_EQ(rt::CurrentApplication(), &atLoad);
    EXPECT_EQ(rt::CurrentScreen(), &screenAtLoad);
}

TEST(ModuleLifecycle, TheThreeEntryPointsAreTheWholeSurface)
{
    testing_support::LoadedModule module("wscbs.dll");
    ASSERT_TRUE(module.Loaded());
    const testing_support::ExportTable table = testing_support::ReadExportTable(module.Handle());
    EXPECT_THAT(table.names, testing::ElementsAre("FreeDLLProc", "InitSubApp", "ShowFrmView"));
    EXPECT_THAT(table.ordinalsWithoutName, testing::IsEmpty());

    auto freeProc = module.Export<FreeDLLProcFn>("FreeDLLProc");
    ASSERT_NE(freeProc, nullptr);
    EXPECT_EQ(freeProc(0, 0), 1);
    EXPECT_EQ(freeProc(0xFFFFFFFFu, 12345u), 1);
    EXPECT_NE(module.Export<InitSubAppFn>("InitSubApp"), nullptr);
}

TEST(ModuleLifecycle, InitSubAppAdoptsTheHostWindowHandle)
{
    CurrentObjectsGuard guard;
    rt::Application app;
    rt::SetCurrentApplication(&app);
    testing_support::LoadedModule module("wscbs.dll");
    ASSERT_TRUE(module.Loaded());
    auto init = module.Export<InitSubAppFn>("InitSubApp");
    ASSERT_NE(init, nullptr);

    auto* buffer = static_cast<char*>(rt::SharedHeap::AllocZeroed(64));
    std::strcpy(buffer, "a=1");
    char* hostPointer = buffer;
    auto* handle = reinterpret_cast<void*>(0x1234);
    init(handle, &hostPointer);
    EXPECT_EQ(app.Handle(), handle);
    EXPECT_EQ(hostPointer, buffer);  // the host's pointer itself is never changed
    rt::SharedHeap::Free(buffer);
}

// The library's load and unload notifications and its boundary, on the
// real wscbs.dll.
#include "sharedrt/AppObjects.h"
#include "sharedrt/SharedHeap.h"
#include "support/ExportTable.h"
#include "support/LoadedModule.h"
#include "wscbs/wscbs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The contract's exports, sorted as the export table lists its names.
std::vector<std::string> ContractExports()
{
#define CONTRACT_EXPORT_NAME_(result, name, parameters) #name,
    std::vector<std::string> names = {WSCBS_EXPORTS(CONTRACT_EXPORT_NAME_)};
#undef CONTRACT_EXPORT_NAME_
    std::sort(names.begin(), names.end());
    return names;
}

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

TEST(ModuleLifecycle, TheContractsExportsAreTheWholeSurface)
{
    testing_support::LoadedModule module("wscbs.dll");
    ASSERT_TRUE(module.Loaded());
    const testing_support::ExportTable table = testing_support::ReadExportTable(module.Handle());
    EXPECT_EQ(table.names, ContractExports());
    EXPECT_THAT(table.ordinalsWithoutName, testing::IsEmpty());

    auto freeProc = module.Export<WscbsFreeDLLProcProc>("FreeDLLProc");
    ASSERT_NE(freeProc, nullptr);
    EXPECT_EQ(freeProc(0, 0), 1);
    EXPECT_EQ(freeProc(0xFFFFFFFFu, 12345u), 1);
    EXPECT_NE(module.Export<WscbsInitSubAppProc>("InitSubApp"), nullptr);
}

TEST(ModuleLifecycle, InitSubAppAdoptsTheHostWindowHandle)
{
    CurrentObjectsGuard guard;
    rt::Application app;
    rt::SetCurrentApplication(&app);
    testing_support::LoadedModule module("wscbs.dll");
    ASSERT_TRUE(module.Loaded());
    auto init = module.Export<WscbsInitSubAppProc>("InitSubApp");
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

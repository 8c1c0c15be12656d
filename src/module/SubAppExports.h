#pragma once
// wscbs.dll's outward surface: InitSubApp, ShowFrmView and FreeDLLProc as
// the contract header declares them (include/wscbs/wscbs.h: signatures,
// calling order, thread, the write-back of the host's buffer, the unload
// order). The module's build defines WSCBS_BUILDING_MODULE, so they are
// exported here.
//
// How the module keeps its side:
//  - No C++ exception leaves any of them.
//  - InitSubApp's write-back goes through module/HostBuffer.h: bounded by the
//    shared-heap block's size, else by the text the host passed in.
//  - ShowFrmView's view is owned by the shared application object; a view
//    destroyed by closing is noticed and made anew by the next call.
#include "wscbs/wscbs.h"

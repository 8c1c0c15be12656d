#include "sharedrt/ui/Events.h"

#include "sharedrt/AppObjects.h"

namespace rt::ui {

void ReportEventException() noexcept
{
    if (Application* app = CurrentApplication())
        app->HandleException();
}

} // namespace rt::ui

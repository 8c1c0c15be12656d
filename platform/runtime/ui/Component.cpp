#include "sharedrt/ui/Component.h"

#include "sharedrt/GbkText.h"

#include <algorithm>

namespace rt::ui {
namespace {

bool SameNameIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept
{
    return GbkCompareIgnoreAsciiCase(a, b) == 0;
}

} // namespace

Component::Component(Component* owner, std::string name) : owner_(owner), name_(std::move(name))
{
    if (owner_)
        owner_->components_.push_back(this);
}

Component::~Component()
{
    DestroyComponents();
    if (owner_) {
        auto& list = owner_->components_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

void Component::Free() noexcept
{
    BeforeDestruction();
    delete this;
}

void Component::DestroyComponents() noexcept
{
    // Freeing one component may free others (a parent frees its children),
    // and each leaves this list itself: always take the newest left.
    while (!components_.empty())
        components_.back()->Free();
}

Component* Component::FindComponent(std::string_view name) const noexcept
{
    for (Component* component : components_)
        if (SameNameIgnoringAsciiCase(component->name_, name))
            return component;
    return nullptr;
}

} // namespace rt::ui

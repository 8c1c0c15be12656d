#pragma once
// The root of the toolkit's objects: a named thing with an owner. An owner
// destroys the components it owns when it is destroyed itself, newest first.
//
// Destroy a component with Free(), not with delete: Free() first runs the
// component's BeforeDestruction (a form's destroy event) while the whole
// object, derived parts included, is still alive.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/RtObject.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rt::ui {

class SHAREDRT_API Component : public RtObject {
public:
    // `owner` may be null: then whoever created the component frees it
    // (or, for a control, its parent does).
    explicit Component(Component* owner = nullptr, std::string name = {});
    ~Component() override;

    // BeforeDestruction, then delete. Null-safe through FreeComponent.
    void Free() noexcept;

    Component* Owner() const noexcept { return owner_; }
    const std::string& Name() const noexcept { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // The owned components in creation order.
    const std::vector<Component*>& Components() const noexcept { return components_; }
    std::size_t ComponentCount() const noexcept { return components_.size(); }

    // The owned component of that name (ASCII letters compared without
    // case), or null. Not recursive.
    Component* FindComponent(std::string_view name) const noexcept;
    template <typename T>
    T* Find(std::string_view name) const noexcept
    {
        return dynamic_cast<T*>(FindComponent(name));
    }

protected:
    // Runs first in Free(): derived classes raise their destroy events here
    // and call the base version.
    virtual void BeforeDestruction() noexcept {}
    // Frees every owned component, newest first. Safe to call twice.
    void DestroyComponents() noexcept;

private:
    Component* owner_;
    std::string name_;
    std::vector<Component*> components_;
};

inline void FreeComponent(Component* component) noexcept
{
    if (component)
        component->Free();
}

} // namespace rt::ui
#endif

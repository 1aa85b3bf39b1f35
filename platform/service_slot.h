#pragma once

#include <cassert>

namespace velmor::platform {

// One service of the program: the Qt implementation by default, a test's fake while a `ScopedOverride`
// of it is alive. Components created from Designer forms cannot take a service in their constructor, so
// they ask the slot when they need it.
template <class Service>
class ServiceSlot {
  public:
    explicit ServiceSlot(Service& standard) : standard_(standard) {}
    Service& get() const { return current_ ? *current_ : standard_; }

    // Puts `fake` in place for the lifetime of this object and restores what was there before.
    class ScopedOverride {
      public:
        ScopedOverride(ServiceSlot& slot, Service& fake) : slot_(slot), previous_(slot.current_) {
            slot_.current_ = &fake;
        }
        ~ScopedOverride() { slot_.current_ = previous_; }
        ScopedOverride(const ScopedOverride&) = delete;
        ScopedOverride& operator=(const ScopedOverride&) = delete;

      private:
        ServiceSlot& slot_;
        Service* previous_;
    };

  private:
    Service& standard_;
    Service* current_ = nullptr;
};

}  // namespace velmor::platform

#pragma once

#include <QDateTime>

#include "platform/service_slot.h"

namespace velmor::platform {

// The wall clock, so that tests see fixed dates and times.
class ClockService {
  public:
    virtual ~ClockService() = default;
    virtual QDateTime now() = 0;
};

ServiceSlot<ClockService>& clock();

// A fake for tests: a clock that shows `time` until a test sets another.
class FixedClock : public ClockService {
  public:
    explicit FixedClock(QDateTime time) : time(std::move(time)) {}
    QDateTime now() override { return time; }
    QDateTime time;

  private:
    ServiceSlot<ClockService>::ScopedOverride override_{clock(), *this};
};

}  // namespace velmor::platform

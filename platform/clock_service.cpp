#include "platform/clock_service.h"

namespace velmor::platform {

namespace {
class SystemClock : public ClockService {
  public:
    QDateTime now() override { return QDateTime::currentDateTime(); }
};
}  // namespace

ServiceSlot<ClockService>& clock() {
    static SystemClock standard;
    static ServiceSlot<ClockService> slot(standard);
    return slot;
}

}  // namespace velmor::platform

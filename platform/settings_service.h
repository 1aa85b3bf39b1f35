#pragma once

#include <QString>
#include <map>

#include "platform/service_slot.h"

namespace velmor::platform {

// The program's settings: text values in one group of the user's settings (organisation "Morvex",
// application "VELMOR", group "2013.4.14"). A failure to read or write throws; callers that must stay
// silent catch it.
class SettingsService {
  public:
    virtual ~SettingsService() = default;
    virtual bool groupExists() = 0;
    // The stored text, or an empty text when the value is missing.
    virtual QString value(const QString& name) = 0;
    virtual void setValue(const QString& name, const QString& value) = 0;
};

ServiceSlot<SettingsService>& settings();

// A fake for tests: values in memory; with `failing` set every access throws.
class MemorySettings : public SettingsService {
  public:
    bool groupExists() override;
    QString value(const QString& name) override;
    void setValue(const QString& name, const QString& value) override;

    std::map<QString, QString> values;
    bool failing = false;
    int writes = 0;  // number of values written

  private:
    ServiceSlot<SettingsService>::ScopedOverride override_{settings(), *this};
};

}  // namespace velmor::platform

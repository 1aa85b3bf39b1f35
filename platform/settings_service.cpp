#include "platform/settings_service.h"

#include <QSettings>
#include <stdexcept>

#include "velmor/version.h"

namespace velmor::platform {

namespace {

const char* const kOrganisation = "Morvex";
const char* const kApplication = "VELMOR";
const char* const kGroup = kVersion;

class QtSettings : public SettingsService {
  public:
    bool groupExists() override {
        QSettings store(kOrganisation, kApplication);
        check(store);
        return store.childGroups().contains(kGroup);
    }

    QString value(const QString& name) override {
        QSettings store(kOrganisation, kApplication);
        check(store);
        store.beginGroup(kGroup);
        return store.value(name).toString();
    }

    void setValue(const QString& name, const QString& value) override {
        QSettings store(kOrganisation, kApplication);
        store.beginGroup(kGroup);
        store.setValue(name, value);
        store.endGroup();
        store.sync();
        check(store);
    }

  private:
    static void check(const QSettings& store) {
        if (store.status() != QSettings::NoError) throw std::runtime_error("The settings cannot be accessed.");
    }
};

void failIf(bool failing) {
    if (failing) throw std::runtime_error("The settings cannot be accessed.");
}

}  // namespace

ServiceSlot<SettingsService>& settings() {
    static QtSettings standard;
    static ServiceSlot<SettingsService> slot(standard);
    return slot;
}

bool MemorySettings::groupExists() {
    failIf(failing);
    return !values.empty();
}

QString MemorySettings::value(const QString& name) {
    failIf(failing);
    auto found = values.find(name);
    return found == values.end() ? QString() : found->second;
}

void MemorySettings::setValue(const QString& name, const QString& value) {
    failIf(failing);
    values[name] = value;
    ++writes;
}

}  // namespace velmor::platform

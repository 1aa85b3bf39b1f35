#pragma once

#include <QString>
#include <vector>

#include "platform/service_slot.h"

namespace velmor::platform {

// Opens a document file or a web address with the desktop's default handler. Failures are not reported.
class DocumentService {
  public:
    virtual ~DocumentService() = default;
    // `target` is a local file path or an address with a scheme ("https://...").
    virtual void open(const QString& target) = 0;
};

ServiceSlot<DocumentService>& documents();

// A fake for tests: records what was opened.
class RecordingDocuments : public DocumentService {
  public:
    void open(const QString& target) override { opened.push_back(target); }
    std::vector<QString> opened;

  private:
    ServiceSlot<DocumentService>::ScopedOverride override_{documents(), *this};
};

}  // namespace velmor::platform

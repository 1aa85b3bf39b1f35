#include "platform/document_service.h"

#include <QDesktopServices>
#include <QUrl>

namespace velmor::platform {

namespace {
class DesktopDocuments : public DocumentService {
  public:
    void open(const QString& target) override {
        const QUrl url = target.contains("://") ? QUrl(target) : QUrl::fromLocalFile(target);
        QDesktopServices::openUrl(url);
    }
};
}  // namespace

ServiceSlot<DocumentService>& documents() {
    static DesktopDocuments standard;
    static ServiceSlot<DocumentService> slot(standard);
    return slot;
}

}  // namespace velmor::platform

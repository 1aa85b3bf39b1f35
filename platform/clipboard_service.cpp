#include "platform/clipboard_service.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace velmor::platform {

namespace {

class QtClipboard : public ClipboardService {
  public:
    std::optional<QString> text() override {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (data == nullptr || !data->hasText()) return std::nullopt;
        return data->text();
    }

    void setText(const QString& text) override { QGuiApplication::clipboard()->setText(text); }
};

}  // namespace

ServiceSlot<ClipboardService>& clipboard() {
    static QtClipboard standard;
    static ServiceSlot<ClipboardService> slot(standard);
    return slot;
}

}  // namespace velmor::platform

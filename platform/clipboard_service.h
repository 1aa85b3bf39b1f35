#pragma once

#include <QString>
#include <optional>

#include "platform/service_slot.h"

namespace velmor::platform {

// Plain text on the system clipboard.
class ClipboardService {
  public:
    virtual ~ClipboardService() = default;
    // The clipboard's text, or nothing when the clipboard holds no text.
    virtual std::optional<QString> text() = 0;
    virtual void setText(const QString& text) = 0;
};

// The program's clipboard: QClipboard unless a test has put a fake in place.
ServiceSlot<ClipboardService>& clipboard();

// A fake for tests: a clipboard of its own, empty (no text) at first.
class FakeClipboard : public ClipboardService {
  public:
    std::optional<QString> text() override { return content; }
    void setText(const QString& text) override { content = text; }

    std::optional<QString> content;

  private:
    ServiceSlot<ClipboardService>::ScopedOverride override_{clipboard(), *this};
};

}  // namespace velmor::platform

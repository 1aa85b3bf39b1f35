#include "graphs/widgets/page_setup_dialog.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <cmath>
#include <memory>

#include "fields/widgets/guarded.h"

namespace velmor::components {

namespace {

// Places the dialog when it opens: centred horizontally on the screen, with a third of the free height
// above it.
class CentreOnShow : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && dialog != nullptr && dialog->screen() != nullptr) {
            const QRect screen = dialog->screen()->availableGeometry();
            const QSize size = dialog->frameGeometry().size();
            dialog->move(screen.left() + (screen.width() - size.width()) / 2,
                         screen.top() + (screen.height() - size.height()) / 3);
        }
        return false;
    }
};

}  // namespace

TPageSetupDialog::TPageSetupDialog() = default;

void TPageSetupDialog::SetOptions(TPageSetupFlags Value) {
    using F = TPageSetupFlag;
    // A flag newly chosen wins over its counterpart, whichever order the set lists them in.
    const auto newlyChosen = [&](F flag) { return Value.contains(flag) && !options_.contains(flag); };
    if (newlyChosen(F::poDefaultMinMargins)) Value.exclude(F::poMinMargins);
    if (newlyChosen(F::poMinMargins)) Value.exclude(F::poDefaultMinMargins);
    if (newlyChosen(F::poHundredthsOfMillimeters)) Value.exclude(F::poThousandthsOfInches);
    if (newlyChosen(F::poThousandthsOfInches)) Value.exclude(F::poHundredthsOfMillimeters);
    options_ = Value;
}

bool TPageSetupDialog::Execute(QWidget* parent, QPrinter* printer) {
    bool accepted = false;
    guarded(
        parent,
        [&] {
            std::unique_ptr<QPrinter> defaultPrinter;
            if (printer == nullptr) {
                defaultPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
                printer = defaultPrinter.get();
            }
            // Margins travel in thousandths of an inch or hundredths of a millimetre.
            const bool inches = options_.contains(TPageSetupFlag::poThousandthsOfInches);
            const QPageLayout::Unit unit = inches ? QPageLayout::Inch : QPageLayout::Millimeter;
            const qreal perUnit = inches ? 1000 : 100;
            printer->setPageMargins(
                QMarginsF(marginLeft_ / perUnit, marginTop_ / perUnit, marginRight_ / perUnit, marginBottom_ / perUnit),
                unit);

            QPageSetupDialog dialog(printer, parent);
            CentreOnShow centre;
            dialog.installEventFilter(&centre);
            if (dialog.exec() != QDialog::Accepted) return;

            const QPageLayout layout = printer->pageLayout();
            const QRectF paper = layout.fullRect(unit);
            paperWidth_ = static_cast<int>(std::lround(paper.width() * perUnit));
            paperLength_ = static_cast<int>(std::lround(paper.height() * perUnit));
            const QMarginsF margins = layout.margins(unit);
            SetMarginLeft(static_cast<int>(std::lround(margins.left() * perUnit)));
            SetMarginTop(static_cast<int>(std::lround(margins.top() * perUnit)));
            SetMarginRight(static_cast<int>(std::lround(margins.right() * perUnit)));
            SetMarginBottom(static_cast<int>(std::lround(margins.bottom() * perUnit)));
            accepted = true;
        },
        "Error in TPageSetupDialog.Execute");
    return accepted;
}

}  // namespace velmor::components

#include "graphs/widgets/print_target.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/file_dialog_service.h"

namespace velmor::components {

bool ChoosePrintTarget(QWidget* Parent, QPrinter& Printer) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
        QPrintDialog dialog(&Printer, Parent);
        return dialog.exec() == QDialog::Accepted;
    }
    QString file = platform::fileDialogs().get().saveFileName(Parent, QString(), "PDF Files (*.pdf)|*.pdf");
    if (file.isEmpty()) return false;
    if (!file.endsWith(".pdf", Qt::CaseInsensitive)) file += ".pdf";
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(file);
    return true;
}

}  // namespace velmor::components

#pragma once

class QPrinter;
class QWidget;

namespace velmor::components {

// Lets the user choose where `Printer` prints: the print dialog when the machine has a printer; without
// one, a PDF file named through the program's file dialogs. False when the user cancelled.
bool ChoosePrintTarget(QWidget* Parent, QPrinter& Printer);

}  // namespace velmor::components

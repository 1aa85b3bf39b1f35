#pragma once

#include <QDate>
#include <QDialog>
#include <QHostAddress>
#include <QList>
#include <QLocale>
#include <functional>
#include <memory>

#include "velmor/version.h"

namespace Ui {
class TAboutBox;
}

namespace velmor::windows {

// The program's release date, as the About box and the update check state it.
inline QDate ReleaseDate() {
    return QDate(2015, 5, 22);
}
inline constexpr const char* kSupportMail = "support@velmor.example.com";
inline constexpr const char* kWebAddress = "https://www.velmor.example.com/";

// A date in the short date format of `Locale` (the user's settings unless a test chose another).
QString ShortDateText(const QDate& Date, const QLocale& Locale = QLocale());
// The first IPv4 address of the list as four dotted decimals; empty when there is none.
QString FirstIPv4Address(const QList<QHostAddress>& Addresses);
// The addresses of this computer's host name.
QList<QHostAddress> LocalHostAddresses();

// About the program: name, version, today's date, the release date and the computer's network address.
// Each time it is shown it sets the version and the dates anew; the two links open through the desktop.
class TAboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit TAboutBox(QWidget* Parent = nullptr);
    ~TAboutBox() override;

    void FormActivate();
    Ui::TAboutBox& Form() { return *ui_; }
    // Where the local addresses come from (the host name lookup unless a test sets another).
    std::function<QList<QHostAddress>()> Addresses = LocalHostAddresses;

  protected:
    void showEvent(QShowEvent* Event) override;

  private:
    std::unique_ptr<Ui::TAboutBox> ui_;
};

}  // namespace velmor::windows

#include "windows/about_box.h"

#include <QHostInfo>
#include <QIcon>
#include <QPushButton>

#include "platform/clock_service.h"
#include "platform/document_service.h"
#include "ui_about_box.h"
#include "windows/window_area.h"

static void initAboutPictures() {
    Q_INIT_RESOURCE(dialogs);
}

namespace velmor::windows {

QString ShortDateText(const QDate& Date, const QLocale& Locale) {
    return Locale.toString(Date, QLocale::ShortFormat);
}

QString FirstIPv4Address(const QList<QHostAddress>& Addresses) {
    for (const QHostAddress& address : Addresses) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol) continue;
        const quint32 a = address.toIPv4Address();
        return QString("%1.%2.%3.%4").arg(a >> 24).arg((a >> 16) & 255).arg((a >> 8) & 255).arg(a & 255);
    }
    return QString();
}

QList<QHostAddress> LocalHostAddresses() {
    return QHostInfo::fromName(QHostInfo::localHostName()).addresses();
}

TAboutBox::TAboutBox(QWidget* Parent) : QDialog(Parent), ui_(std::make_unique<Ui::TAboutBox>()) {
    initAboutPictures();
    ui_->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont name = ui_->ProductName->font();
    name.setPointSizeF(name.pointSizeF() * 1.6);
    name.setBold(true);
    ui_->ProductName->setFont(name);
    ui_->Label4->setText(QString("<a href=\"mailto:%1\">%1</a>").arg(kSupportMail));
    ui_->Label6->setText(QString("<a href=\"%1\">%1</a>").arg(kWebAddress));
    const auto open = [](const QString& Link) { platform::documents().get().open(Link); };
    connect(ui_->Label4, &QLabel::linkActivated, this, open);
    connect(ui_->Label6, &QLabel::linkActivated, this, open);
    connect(ui_->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    ui_->OKButton->setDefault(true);
    setWindowIcon(TWindowArea::ProgramIcon());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::showEvent(QShowEvent* Event) {
    FormActivate();
    QDialog::showEvent(Event);
}

void TAboutBox::FormActivate() {
    ui_->Version->setText(QString("Version ") + kVersion);
    ui_->lbltoday->setText(ShortDateText(platform::clock().get().now().date()));
    ui_->lblrelease->setText(ShortDateText(ReleaseDate()));
    ui_->lblIPAddress->setText(FirstIPv4Address(Addresses()));
}

}  // namespace velmor::windows

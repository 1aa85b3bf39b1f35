#include "windows/about_box.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "platform/clock_service.h"
#include "platform/document_service.h"
#include "ui_about_box.h"

namespace velmor::windows {
namespace {

TEST(AboutBox, DatesInTheShortDateFormat) {
    const struct {
        QLocale locale;
        const char* release;
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "5/22/15"},
        {QLocale(QLocale::German, QLocale::Germany), "22.05.15"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "22/05/2015"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShortDateText(ReleaseDate(), c.locale), c.release);
}

TEST(AboutBox, FirstIPv4AddressOrNothing) {
    const QHostAddress v6("fe80::1"), a("192.168.10.7"), b("10.0.0.1");
    EXPECT_EQ(FirstIPv4Address({v6, a, b}), "192.168.10.7");
    EXPECT_EQ(FirstIPv4Address({v6}), "");
    EXPECT_EQ(FirstIPv4Address({}), "");
}

TEST(AboutBox, ShowsVersionDatesAndAddressAnewEachTime) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    platform::FixedClock clock(QDateTime(QDate(2026, 3, 4), QTime(9, 0)));
    TAboutBox box;
    box.Addresses = [] { return QList<QHostAddress>{QHostAddress("172.16.0.9")}; };
    box.FormActivate();
    EXPECT_EQ(box.windowTitle(), "About Velmor");
    EXPECT_EQ(box.Form().Version->text(), "Version 2013.4.14");
    EXPECT_EQ(box.Form().lbltoday->text(), "3/4/26");
    EXPECT_EQ(box.Form().lblrelease->text(), "5/22/15");
    EXPECT_EQ(box.Form().lblIPAddress->text(), "172.16.0.9");
    clock.time = QDateTime(QDate(2026, 3, 5), QTime(0, 1));
    box.Addresses = [] { return QList<QHostAddress>{}; };
    box.FormActivate();
    EXPECT_EQ(box.Form().lbltoday->text(), "3/5/26");
    EXPECT_EQ(box.Form().lblIPAddress->text(), "");
    QLocale::setDefault(QLocale::c());
}

TEST(AboutBox, LinksOpenThroughTheDesktop) {
    platform::RecordingDocuments documents;
    TAboutBox box;
    emit box.Form().Label4->linkActivated("mailto:support@velmor.example.com");
    emit box.Form().Label6->linkActivated("https://www.velmor.example.com/");
    ASSERT_EQ(documents.opened.size(), 2u);
    EXPECT_TRUE(box.Form().Label4->text().contains("href=\"mailto:support@velmor.example.com\""));
    EXPECT_EQ(documents.opened[0], "mailto:support@velmor.example.com");
    EXPECT_EQ(documents.opened[1], "https://www.velmor.example.com/");
}

}  // namespace
}  // namespace velmor::windows

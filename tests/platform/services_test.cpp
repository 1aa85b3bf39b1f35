#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSettings>

#include "platform/dynamic_library.h"
#include "platform/settings_service.h"
#include "support/test_support.h"

namespace velmor::platform {
namespace {

TEST(DynamicLibrary, EveryLoadingFailureEndsWithoutAnOpenLibrary) {
    test::ScratchDir dir;
    test::writeFile(dir.file("not-a-library.so"), "text");
    TDynamicLibrary library;
    library.SetLibraryName(dir.file("missing.so"));
    EXPECT_THROW(library.Open(), EFileNotFoundError);
    library.SetLibraryName(dir.file("not-a-library.so"));
    EXPECT_NO_THROW(library.Open());  // a file that does not load raises nothing here...
    EXPECT_FALSE(library.IsOpen());
    EXPECT_THROW(library.GetProcAddress("_IVELMOR"), EDLLNotOpenError);  // ...but the entry is not found

    library.SetLibraryName((QCoreApplication::applicationDirPath() + "/Velmor2013_DLL.so").toStdString());
    library.Open();
    ASSERT_TRUE(library.IsOpen());
    EXPECT_NE(library.GetProcAddress("_IVELMOR"), nullptr);
    EXPECT_EQ(library.GetProcAddress("NoSuchEntry"), nullptr);
    library.SetLibraryName("other");  // closes the library first
    EXPECT_FALSE(library.IsOpen());
}

TEST(Settings, ValuesLiveInTheProgramsGroup) {
    test::ScratchDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir.path().string()));
    SettingsService& store = settings().get();
    EXPECT_FALSE(store.groupExists());
    EXPECT_EQ(store.value("File1"), "");
    store.setValue("File1", "/work/wall.vm4d");
    EXPECT_TRUE(store.groupExists());
    EXPECT_EQ(store.value("File1"), "/work/wall.vm4d");
    EXPECT_EQ(QSettings("Morvex", "VELMOR").value("2013.4.14/File1").toString(), "/work/wall.vm4d");
}

}  // namespace
}  // namespace velmor::platform

#include "foundation/platform.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kestavion::test {
namespace {

TEST(PlatformTest, DataFolderIsTheEnvironmentsThenThePackagesThenTheProgramsOwn) {
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    // A build tree or a copied program: its own folder.
    EXPECT_EQ(platform::dataFolder(bin, QString()), bin);
    // Installed: the package names the machine-wide folder.
    ASSERT_TRUE(QDir().mkpath(root.filePath(QStringLiteral("usr/share/kestavion"))));
    QFile marker(root.filePath(QStringLiteral("usr/share/kestavion/data-folder")));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write("/var/lib/kestavion\n");
    marker.close();
    EXPECT_EQ(platform::dataFolder(bin, QString()), QStringLiteral("/var/lib/kestavion"));
    // The environment wins over both.
    EXPECT_EQ(platform::dataFolder(bin, QStringLiteral(" /srv/shop/ ")), QStringLiteral("/srv/shop"));
    // An empty marker counts as none.
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly | QIODevice::Truncate));
    marker.close();
    EXPECT_EQ(platform::dataFolder(bin, QString()), bin);
}

}  // namespace
}  // namespace kestavion::test

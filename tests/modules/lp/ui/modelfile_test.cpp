#include "modules/lp/ui/modelfile.h"
#include "qtprint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace tarvik::ui;

namespace {

QByteArray ReadAll(const QString& name) {
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll();
}

void WriteAll(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(ModelFile, BackupNameReplacesTheLastExtension) {
    EXPECT_EQ(BackupFileName(QStringLiteral("/tmp/m/model.tlp")), QStringLiteral("/tmp/m/model.BAK"));
    EXPECT_EQ(BackupFileName(QStringLiteral("/tmp/m/a.b.tlp")), QStringLiteral("/tmp/m/a.b.BAK"));
    EXPECT_EQ(BackupFileName(QStringLiteral("/tmp/m/model")), QStringLiteral("/tmp/m/model.BAK"));
    EXPECT_EQ(BackupFileName(QStringLiteral("model.tlp")), QStringLiteral("model.BAK"));
}

TEST(ModelFile, LinesEndInCrLfAndReadBackWhateverTheLineEnds) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("m.tlp"));
    ASSERT_TRUE(SaveModelFile(name, {QStringLiteral("max x;"), QString(), QStringLiteral("x <= 4;")}));
    EXPECT_EQ(ReadAll(name), QByteArray("max x;\r\n\r\nx <= 4;\r\n"));
    EXPECT_EQ(*LoadModelFile(name), (QStringList{"max x;", "", "x <= 4;"}));

    WriteAll(name, "a\nb\rc\r\n\r\nd");
    EXPECT_EQ(*LoadModelFile(name), (QStringList{"a", "b", "c", "", "d"}));
    // Not UTF-8: read as Latin-1.
    WriteAll(name, "caf\xe9\r\n");
    EXPECT_EQ(*LoadModelFile(name), (QStringList{QStringLiteral("caf\u00e9")}));
    EXPECT_FALSE(LoadModelFile(dir.filePath(QStringLiteral("none.tlp"))).has_value());
}

TEST(ModelFile, SecondSaveKeepsThePreviousVersionAsBackup) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("model.tlp"));
    const QString backup = dir.filePath(QStringLiteral("model.BAK"));
    ASSERT_TRUE(SaveModelFile(name, {QStringLiteral("one")}));
    EXPECT_FALSE(QFile::exists(backup));
    ASSERT_TRUE(SaveModelFile(name, {QStringLiteral("two")}));
    ASSERT_TRUE(SaveModelFile(name, {QStringLiteral("three")}));
    EXPECT_EQ(ReadAll(name), QByteArray("three\r\n"));
    EXPECT_EQ(ReadAll(backup), QByteArray("two\r\n"));
    // No temporary files are left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(ModelFile, AFileNamedLikeItsBackupIsNotLost) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("model.BAK"));
    ASSERT_TRUE(SaveModelFile(name, {QStringLiteral("one")}));
    ASSERT_TRUE(SaveModelFile(name, {QStringLiteral("two")}));
    EXPECT_EQ(ReadAll(name), QByteArray("two\r\n"));
}

TEST(ModelFile, SavingIntoAFolderThatCannotHoldFilesFails) {
    QTemporaryDir dir;
    const QString notAFolder = dir.filePath(QStringLiteral("plain"));
    WriteAll(notAFolder, "x");
    EXPECT_FALSE(SaveModelFile(notAFolder + QStringLiteral("/model.tlp"), {QStringLiteral("max x;")}));
    EXPECT_FALSE(
        SaveModelFile(dir.filePath(QStringLiteral("missing/model.tlp")), {QStringLiteral("max x;")}));
    EXPECT_EQ(ReadAll(notAFolder), QByteArray("x"));
}

TEST(ModelFile, AWriteThatFailsHalfWayKeepsModelAndBackup) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("model.tlp"));
    const QString backup = dir.filePath(QStringLiteral("model.BAK"));
    WriteAll(name, "current\r\n");
    WriteAll(backup, "older\r\n");

    // A file size limit makes the write fail as a full disk would.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = SaveModelFile(name, QStringList(100, QStringLiteral("a long line of the new model")));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadAll(name), QByteArray("current\r\n"));
    EXPECT_EQ(ReadAll(backup), QByteArray("older\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}
